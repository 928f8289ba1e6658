#pragma once

#include "link/transferthread.h"
#include "mainwindow/formvalues.h"

#include <atomic>

// The read-back worker: asks the module for the configuration it holds ('~' then the fixed '{'),
// collects the reply until the module falls silent and parses it against the form as it stood
// when the read started. It never touches the form: the dialog writes the parsed values in the GUI
// thread and only then marks the read as succeeded.
class upThread : public TransferThread {
    Q_OBJECT

public:
    // current: the form's values, read in the GUI thread before the worker starts.
    upThread(const LinkSettings &settings, const FormValues &current, QObject *parent = nullptr);
    ~upThread() override;

    // Whether the reply passed every test; read it after finished().
    bool replyParsed() const { return parsed.load(std::memory_order_acquire); }
    // The form as the reply sets it; valid only when replyParsed().
    const FormValues &parsedForm() const { return values; }
    // The dialog has written parsedForm() into the form: the read has succeeded.
    void formWritten() { ok = true; }

protected:
    void exchange() override;

private:
    const FormValues current;
    FormValues values;
    std::atomic_bool parsed{false};
};
