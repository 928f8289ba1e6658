#pragma once

#include "link/linksettings.h"
#include "link/transferdialog.h"

class QEvent;
class QWidget;
class Ui_upload;

// The read-back dialog: runs an upThread on a copy of the settings and, when the reply passed
// every test, writes it into the form under `form` in one piece before it shows the success.
// Cancel stops the read and leaves the form as it was.
class upload : public TransferDialog {
    Q_OBJECT

public:
    // form: the main form's central widget, read now and written when the read succeeds.
    upload(const LinkSettings &settings, QWidget *form, QWidget *parent);
    ~upload() override;

protected:
    void changeEvent(QEvent *event) override;
    // Writes the form when the reply was good, before the result is shown.
    void applyResult() override;

private:
    Ui_upload *ui;
    QWidget *form;
};
