#include "upload.h"

#include "link/ui_upload.h"
#include "link/upthread.h"
#include "mainwindow/formlists.h"
#include "texts/texts.h"

#include <QDialogButtonBox>
#include <QEvent>
#include <QLabel>
#include <QPixmap>
#include <QProgressBar>

void Ui_upload::setupUi(QDialog *upload) {
    if (upload->objectName().isEmpty())
        upload->setObjectName("upload");
    upload->resize(262, 118);

    buttonBox = new QDialogButtonBox(upload);
    buttonBox->setObjectName("buttonBox");
    buttonBox->setGeometry(QRect(170, 80, 81, 21));
    buttonBox->setOrientation(Qt::Horizontal);
    buttonBox->setStandardButtons(QDialogButtonBox::Cancel);
    buttonBox->setCenterButtons(true);

    msg = new QLabel(upload);
    msg->setObjectName("msg");
    msg->setGeometry(QRect(80, 10, 171, 51));
    msg->setAlignment(Qt::AlignCenter);
    msg->setWordWrap(true);

    pic = new QLabel(upload);
    pic->setObjectName("pic");
    pic->setGeometry(QRect(10, 0, 71, 81));
    pic->setPixmap(QPixmap(QString::fromUtf8(":/img/img/icon_upload.png")));

    progressBar = new QProgressBar(upload);
    progressBar->setObjectName("progressBar");
    progressBar->setGeometry(QRect(10, 80, 151, 21));
    progressBar->setValue(24);

    retranslateUi(upload);
    QObject::connect(buttonBox, &QDialogButtonBox::accepted, upload, &QDialog::accept);
    QObject::connect(buttonBox, &QDialogButtonBox::rejected, upload, &QDialog::reject);
    QMetaObject::connectSlotsByName(upload);
}

void Ui_upload::retranslateUi(QDialog *upload) {
    const TransferTexts &texts = textTable().upload;
    upload->setWindowTitle(uiText("upload", texts.title));
    msg->setText(uiText("upload", texts.running));
    pic->setText(QString());
}

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
