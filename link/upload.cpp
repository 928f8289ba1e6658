#include "upload.h"

#include "link/ui_upload.h"
#include "link/upthread.h"
#include "mainwindow/formlists.h"
#include "texts/texts.h"

#include <QEvent>

upload::upload(const LinkSettings &settings, QWidget *form, QWidget *parent)
    : TransferDialog(parent), ui(new Ui_upload), form(form) {
    ui->setupUi(this);
    auto *reader = new upThread(settings, readForm(formLists(form)));
    startWorker(reader, {ui->buttonBox, ui->msg, ui->progressBar}, textTable().upload, /*cancellable=*/true);
}

upload::~upload() {
    endWorker();
    delete ui;
}

void upload::changeEvent(QEvent *event) {
    TransferDialog::changeEvent(event);
    if (event->type() == QEvent::LanguageChange)
        ui->retranslateUi(this);
}

void upload::applyResult() {
    auto *reader = static_cast<upThread *>(worker());
    // A read that the user stopped, or a dialog already ended, leaves the form as it was.
    if (!reader || hasEnded() || reader->stopRequested() || !reader->replyParsed())
        return;
    writeForm(formLists(form), reader->parsedForm());
    reader->formWritten();
}
