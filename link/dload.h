#pragma once

#include "link/linksettings.h"
#include "link/transferdialog.h"

class QEvent;
class Ui_dload;

// The download dialog: runs a dlThread on a copy of the settings and shows its progress and
// result. It cannot be cancelled from its button; Escape ends it at once and stops the worker.
class dload : public TransferDialog {
    Q_OBJECT

public:
    dload(const LinkSettings &settings, QWidget *parent);
    ~dload() override;

protected:
    void changeEvent(QEvent *event) override;

private:
    Ui_dload *ui;
};
