#include "dload.h"

#include "link/dlthread.h"
#include "link/ui_dload.h"
#include "texts/texts.h"

#include <QEvent>

dload::dload(const LinkSettings &settings, QWidget *parent) : TransferDialog(parent), ui(new Ui_dload) {
    ui->setupUi(this);
    startWorker(new dlThread(settings), {ui->buttonBox, ui->kiiras, ui->progressBar}, textTable().dload,
                /*cancellable=*/false);
}

dload::~dload() {
    endWorker();
    delete ui;
}

void dload::changeEvent(QEvent *event) {
    TransferDialog::changeEvent(event);
    if (event->type() == QEvent::LanguageChange)
        ui->retranslateUi(this);
}
