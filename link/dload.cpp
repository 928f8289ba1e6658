#include "dload.h"

#include "link/dlthread.h"
#include "link/ui_dload.h"
#include "texts/texts.h"

#include <QDialogButtonBox>
#include <QEvent>
#include <QLabel>
#include <QPixmap>
#include <QProgressBar>

void Ui_dload::setupUi(QDialog *dload) {
    if (dload->objectName().isEmpty())
        dload->setObjectName("dload");
    dload->resize(262, 118);

    buttonBox = new QDialogButtonBox(dload);
    buttonBox->setObjectName("buttonBox");
    buttonBox->setEnabled(false);
    buttonBox->setGeometry(QRect(170, 90, 81, 21));
    buttonBox->setOrientation(Qt::Horizontal);
    buttonBox->setStandardButtons(QDialogButtonBox::Cancel);
    buttonBox->setCenterButtons(true);

    label = new QLabel(dload);
    label->setObjectName("label");
    label->setGeometry(QRect(10, 10, 71, 71));
    label->setPixmap(QPixmap(QString::fromUtf8(":/img/img/icon_download.png")));

    kiiras = new QLabel(dload);
    kiiras->setObjectName("kiiras");
    kiiras->setGeometry(QRect(90, 20, 151, 51));
    kiiras->setAlignment(Qt::AlignCenter);
    kiiras->setWordWrap(true);

    progressBar = new QProgressBar(dload);
    progressBar->setObjectName("progressBar");
    progressBar->setGeometry(QRect(10, 90, 151, 21));
    progressBar->setValue(24);

    retranslateUi(dload);
    QObject::connect(buttonBox, &QDialogButtonBox::accepted, dload, &QDialog::accept);
    QObject::connect(buttonBox, &QDialogButtonBox::rejected, dload, &QDialog::reject);
    QMetaObject::connectSlotsByName(dload);
}

void Ui_dload::retranslateUi(QDialog *dload) {
    const TransferTexts &texts = textTable().dload;
    dload->setWindowTitle(uiText("dload", texts.title));
    label->setText(QString());
    kiiras->setText(uiText("dload", texts.running));
}

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
