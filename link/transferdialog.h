#pragma once

#include <QDialog>
#include <QPointer>
#include <QString>

#include <atomic>

class QCloseEvent;
class QDialogButtonBox;
class QLabel;
class QProgressBar;
class QTimer;
class TransferThread;
struct TransferTexts;

// What the download, read-back and verify dialogs share: the dialog owns its worker, shows the
// worker's progress and result, refuses the window system's close requests and ends through its
// button box, Escape, or by itself 2000 ms after a success.
class TransferDialog : public QDialog {
    Q_OBJECT

public:
    ~TransferDialog() override;

    // The dialog's worker; owned by the dialog and deleted with it.
    TransferThread *worker() const { return thread; }

protected:
    // The widgets of a transfer form that the shared behaviour drives.
    struct FormParts {
        QDialogButtonBox *buttonBox = nullptr;
        QLabel *message = nullptr;
        QProgressBar *progressBar = nullptr;
    };

    explicit TransferDialog(QWidget *parent);

    // Takes over the worker, connects its progress (the range queued to the bar, the value taken
    // by the bar a few times a second) and its finished() (to transferComplete()), then starts it.
    // With cancellable, any press of a box button also stops the worker; the box's own accepted()
    // or rejected() then ends the dialog.
    void startWorker(TransferThread *worker, const FormParts &parts, const TransferTexts &texts, bool cancellable);
    // Stops the worker, waits for it and deletes it. A subclass calls it first in its destructor,
    // before it deletes its form, so that nothing can reach the form of a dying dialog.
    void endWorker();

    void closeEvent(QCloseEvent *event) override;
    void done(int result) override;

    // Runs in the GUI thread once the worker has finished, before its result is shown: a transfer
    // that brings data back puts it in place here.
    virtual void applyResult() {}
    // Whether the dialog has been ended (accepted or rejected) already.
    bool hasEnded() const { return ended; }

protected slots:
    // The worker has finished: the result text, a single Ok button, and after a success the
    // self-accept 2000 ms later.
    void transferComplete();

private:
    // Puts the worker's latest progress value on the bar.
    void showLatestProgress();

    TransferThread *thread = nullptr;
    // Written by the worker after each byte; -1 until its first progress value.
    std::atomic_int latestProgress{-1};
    QPointer<QTimer> progressTimer;
    FormParts parts;
    QString successText;
    QString failureText;
    QPointer<QTimer> acceptTimer;
    bool ended = false;
};
