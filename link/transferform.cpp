#include "transferform.h"

#include "link/ui_dload.h"
#include "link/ui_upload.h"
#include "link/ui_verify.h"

#include <QDialog>
#include <QDialogButtonBox>
#include <QLabel>
#include <QPixmap>
#include <QProgressBar>

namespace {

const TransferFormLayout dloadLayout{
    .dialogName = "dload",
    .size = {262, 118},
    .texts = &TextTable::dload,
    .buttonEnabled = false,
    .buttonGeometry = {170, 90, 81, 21},
    .messageName = "kiiras",
    .messageGeometry = {90, 20, 151, 51},
    .pictureName = "label",
    .pictureGeometry = {10, 10, 71, 71},
    .picture = ":/img/img/icon_download.png",
    .pictureBeforeMessage = true,
    .retranslatesPicture = true,
    .barGeometry = {10, 90, 151, 21},
};

const TransferFormLayout uploadLayout{
    .dialogName = "upload",
    .size = {262, 118},
    .texts = &TextTable::upload,
    .buttonEnabled = true,
    .buttonGeometry = {170, 80, 81, 21},
    .messageName = "msg",
    .messageGeometry = {80, 10, 171, 51},
    .pictureName = "pic",
    .pictureGeometry = {10, 0, 71, 81},
    .picture = ":/img/img/icon_upload.png",
    .pictureBeforeMessage = false,
    .retranslatesPicture = true,
    .barGeometry = {10, 80, 151, 21},
};

// The read-back form again, one pixel wider and two lower, and it never touches the picture's text.
const TransferFormLayout verifyLayout{
    .dialogName = "verify",
    .size = {263, 116},
    .texts = &TextTable::verify,
    .buttonEnabled = true,
    .buttonGeometry = {170, 80, 81, 21},
    .messageName = "msg",
    .messageGeometry = {80, 10, 171, 51},
    .pictureName = "pic",
    .pictureGeometry = {10, 0, 71, 81},
    .picture = ":/img/img/icon_upload.png",
    .pictureBeforeMessage = false,
    .retranslatesPicture = false,
    .barGeometry = {10, 80, 151, 21},
};

QLabel *createMessage(QDialog *dialog, const TransferFormLayout &layout) {
    auto *message = new QLabel(dialog);
    message->setObjectName(layout.messageName);
    message->setGeometry(layout.messageGeometry);
    message->setAlignment(Qt::AlignCenter);
    message->setWordWrap(true);
    return message;
}

QLabel *createPicture(QDialog *dialog, const TransferFormLayout &layout) {
    auto *picture = new QLabel(dialog);
    picture->setObjectName(layout.pictureName);
    picture->setGeometry(layout.pictureGeometry);
    picture->setPixmap(QPixmap(QString::fromUtf8(layout.picture)));
    return picture;
}

} // namespace

TransferFormWidgets setupTransferForm(QDialog *dialog, const TransferFormLayout &layout) {
    if (dialog->objectName().isEmpty())
        dialog->setObjectName(layout.dialogName);
    dialog->resize(layout.size);

    TransferFormWidgets form{};
    form.buttonBox = new QDialogButtonBox(dialog);
    form.buttonBox->setObjectName("buttonBox");
    if (!layout.buttonEnabled)
        form.buttonBox->setEnabled(false);
    form.buttonBox->setGeometry(layout.buttonGeometry);
    form.buttonBox->setOrientation(Qt::Horizontal);
    form.buttonBox->setStandardButtons(QDialogButtonBox::Cancel);
    form.buttonBox->setCenterButtons(true);

    if (layout.pictureBeforeMessage) {
        form.picture = createPicture(dialog, layout);
        form.message = createMessage(dialog, layout);
    } else {
        form.message = createMessage(dialog, layout);
        form.picture = createPicture(dialog, layout);
    }

    form.progressBar = new QProgressBar(dialog);
    form.progressBar->setObjectName("progressBar");
    form.progressBar->setGeometry(layout.barGeometry);
    form.progressBar->setValue(24);

    retranslateTransferForm(dialog, layout, form.message, form.picture);
    QObject::connect(form.buttonBox, &QDialogButtonBox::accepted, dialog, &QDialog::accept);
    QObject::connect(form.buttonBox, &QDialogButtonBox::rejected, dialog, &QDialog::reject);
    QMetaObject::connectSlotsByName(dialog);
    return form;
}

void retranslateTransferForm(QDialog *dialog, const TransferFormLayout &layout, QLabel *message, QLabel *picture) {
    const TransferTexts &texts = textTable().*layout.texts;
    dialog->setWindowTitle(uiText(layout.dialogName, texts.title));
    if (layout.retranslatesPicture)
        picture->setText(QString());
    message->setText(uiText(layout.dialogName, texts.running));
}

void Ui_dload::setupUi(QDialog *dload) {
    const TransferFormWidgets form = setupTransferForm(dload, dloadLayout);
    buttonBox = form.buttonBox;
    label = form.picture;
    kiiras = form.message;
    progressBar = form.progressBar;
}

void Ui_dload::retranslateUi(QDialog *dload) {
    retranslateTransferForm(dload, dloadLayout, kiiras, label);
}

void Ui_upload::setupUi(QDialog *upload) {
    const TransferFormWidgets form = setupTransferForm(upload, uploadLayout);
    buttonBox = form.buttonBox;
    msg = form.message;
    pic = form.picture;
    progressBar = form.progressBar;
}

void Ui_upload::retranslateUi(QDialog *upload) {
    retranslateTransferForm(upload, uploadLayout, msg, pic);
}

void Ui_verify::setupUi(QDialog *verify) {
    const TransferFormWidgets form = setupTransferForm(verify, verifyLayout);
    buttonBox = form.buttonBox;
    msg = form.message;
    pic = form.picture;
    progressBar = form.progressBar;
}

void Ui_verify::retranslateUi(QDialog *verify) {
    retranslateTransferForm(verify, verifyLayout, msg, pic);
}
