#pragma once

#include "link/linksettings.h"
#include "link/transferdialog.h"

class QEvent;
class QWidget;
class Ui_verify;

// The verify dialog: composes the configuration text from the form under `form` as a download
// would (without the greater-than-zero test and without a check suffix) and runs a vThread that
// compares it with what the module holds. Neither the form nor the module is changed.
class verify : public TransferDialog {
    Q_OBJECT

public:
    verify(const LinkSettings &settings, QWidget *form, QWidget *parent);
    ~verify() override;

protected:
    void changeEvent(QEvent *event) override;

private:
    Ui_verify *ui;
};
