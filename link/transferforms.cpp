#include "link/ui_dload.h"
#include "link/ui_upload.h"
#include "link/ui_verify.h"
#include "texts/texts.h"

#include <QDialog>
#include <QDialogButtonBox>
#include <QLabel>
#include <QPixmap>
#include <QProgressBar>
#include <QRect>
#include <QSize>

namespace {

// What sets the download, read-back and verify forms apart; they are otherwise built alike.
struct TransferFormLayout {
    const char *dialogName; // the dialog's object name and the context its texts are translated under
    QSize size;
    TransferTexts TextTable::*texts;
    bool buttonEnabled;
    QRect buttonGeometry;
    const char *messageName;
    QRect messageGeometry;
    const char *pictureName;
    QRect pictureGeometry;
    const char *picture;
    bool pictureBeforeMessage; // creation order of the two labels
    bool retranslatesPicture;  // whether retranslating also empties the picture's text
    QRect barGeometry;
};

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

// The read-back form again, one pixel wider and two shorter, that never touches the picture's text.
const TransferFormLayout verifyLayout = [] {
    TransferFormLayout layout = uploadLayout;
    layout.dialogName = "verify";
    layout.size = {263, 116};
    layout.texts = &TextTable::verify;
    layout.retranslatesPicture = false;
    return layout;
}();

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

void retranslateTransferForm(QDialog *dialog, const TransferFormLayout &layout, QLabel *message, QLabel *picture) {
    const TransferTexts &texts = textTable().*layout.texts;
    dialog->setWindowTitle(uiText(layout.dialogName, texts.title));
    if (layout.retranslatesPicture)
        picture->setText(QString());
    message->setText(uiText(layout.dialogName, texts.running));
}

// Builds the form on `dialog` into the four given members, applies its texts, ties the button box
// to accept() and reject() and connects the dialog's slots by name.
void setupTransferForm(QDialog *dialog, const TransferFormLayout &layout, QDialogButtonBox *&buttonBox,
                       QLabel *&message, QLabel *&picture, QProgressBar *&progressBar) {
    if (dialog->objectName().isEmpty())
        dialog->setObjectName(layout.dialogName);
    dialog->resize(layout.size);

    buttonBox = new QDialogButtonBox(dialog);
    buttonBox->setObjectName("buttonBox");
    if (!layout.buttonEnabled)
        buttonBox->setEnabled(false);
    buttonBox->setGeometry(layout.buttonGeometry);
    buttonBox->setOrientation(Qt::Horizontal);
    buttonBox->setStandardButtons(QDialogButtonBox::Cancel);
    buttonBox->setCenterButtons(true);

    if (layout.pictureBeforeMessage) {
        picture = createPicture(dialog, layout);
        message = createMessage(dialog, layout);
    } else {
        message = createMessage(dialog, layout);
        picture = createPicture(dialog, layout);
    }

    progressBar = new QProgressBar(dialog);
    progressBar->setObjectName("progressBar");
    progressBar->setGeometry(layout.barGeometry);
    progressBar->setValue(24);

    retranslateTransferForm(dialog, layout, message, picture);
    QObject::connect(buttonBox, &QDialogButtonBox::accepted, dialog, &QDialog::accept);
    QObject::connect(buttonBox, &QDialogButtonBox::rejected, dialog, &QDialog::reject);
    QMetaObject::connectSlotsByName(dialog);
}

} // namespace

void Ui_dload::setupUi(QDialog *dload) {
    setupTransferForm(dload, dloadLayout, buttonBox, kiiras, label, progressBar);
}
void Ui_dload::retranslateUi(QDialog *dload) {
    retranslateTransferForm(dload, dloadLayout, kiiras, label);
}

void Ui_upload::setupUi(QDialog *upload) {
    setupTransferForm(upload, uploadLayout, buttonBox, msg, pic, progressBar);
}
void Ui_upload::retranslateUi(QDialog *upload) {
    retranslateTransferForm(upload, uploadLayout, msg, pic);
}

void Ui_verify::setupUi(QDialog *verify) {
    setupTransferForm(verify, verifyLayout, buttonBox, msg, pic, progressBar);
}
void Ui_verify::retranslateUi(QDialog *verify) {
    retranslateTransferForm(verify, verifyLayout, msg, pic);
}
