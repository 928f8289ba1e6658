#include "verify.h"

#include "link/configtext.h"
#include "link/ui_verify.h"
#include "link/vthread.h"
#include "mainwindow/formlists.h"
#include "texts/texts.h"

#include <QEvent>

verify::verify(const LinkSettings &settings, QWidget *form, QWidget *parent)
    : TransferDialog(parent), ui(new Ui_verify) {
    ui->setupUi(this);

    // The form is read here, in the GUI thread; the modal dialog keeps it from changing meanwhile.
    // No greater-than-zero test, no message, and never a check suffix, whatever checkValue says.
    const ConfigText::Result composed =
        ConfigText::compose(readForm(formLists(form)), settings.downloadSeparator, /*testGreaterThanZero=*/false);
    LinkSettings workerSettings = settings;
    workerSettings.dataText = composed.text;
    const bool composedOk = composed.problem == ConfigText::Problem::None;
    startWorker(new vThread(workerSettings, composedOk), {ui->buttonBox, ui->msg, ui->progressBar}, textTable().verify,
                /*cancellable=*/true);
}

verify::~verify() {
    endWorker();
    delete ui;
}

void verify::changeEvent(QEvent *event) {
    TransferDialog::changeEvent(event);
    if (event->type() == QEvent::LanguageChange)
        ui->retranslateUi(this);
}
