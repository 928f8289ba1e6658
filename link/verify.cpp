#include "verify.h"

#include "link/configtext.h"
#include "link/ui_verify.h"
#include "link/vthread.h"
#include "mainwindow/formlists.h"
#include "texts/texts.h"

#include <QDialogButtonBox>
#include <QEvent>
#include <QLabel>
#include <QPixmap>
#include <QProgressBar>

void Ui_verify::setupUi(QDialog *verify) {
    if (verify->objectName().isEmpty())
        verify->setObjectName("verify");
    verify->resize(263, 116);

    buttonBox = new QDialogButtonBox(verify);
    buttonBox->setObjectName("buttonBox");
    buttonBox->setGeometry(QRect(170, 80, 81, 21));
    buttonBox->setOrientation(Qt::Horizontal);
    buttonBox->setStandardButtons(QDialogButtonBox::Cancel);
    buttonBox->setCenterButtons(true);

    msg = new QLabel(verify);
    msg->setObjectName("msg");
    msg->setGeometry(QRect(80, 10, 171, 51));
    msg->setAlignment(Qt::AlignCenter);
    msg->setWordWrap(true);

    pic = new QLabel(verify);
    pic->setObjectName("pic");
    pic->setGeometry(QRect(10, 0, 71, 81));
    pic->setPixmap(QPixmap(QString::fromUtf8(":/img/img/icon_upload.png")));

    progressBar = new QProgressBar(verify);
    progressBar->setObjectName("progressBar");
    progressBar->setGeometry(QRect(10, 80, 151, 21));
    progressBar->setValue(24);

    retranslateUi(verify);
    QObject::connect(buttonBox, &QDialogButtonBox::accepted, verify, &QDialog::accept);
    QObject::connect(buttonBox, &QDialogButtonBox::rejected, verify, &QDialog::reject);
    QMetaObject::connectSlotsByName(verify);
}

void Ui_verify::retranslateUi(QDialog *verify) {
    const TransferTexts &texts = textTable().verify;
    verify->setWindowTitle(uiText("verify", texts.title));
    msg->setText(uiText("verify", texts.running));
}

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
