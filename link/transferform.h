#pragma once

#include <QRect>
#include <QSize>

#include "texts/texts.h"

class QDialog;
class QDialogButtonBox;
class QLabel;
class QProgressBar;

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

// The four widgets of a transfer form, created as children of the dialog.
struct TransferFormWidgets {
    QDialogButtonBox *buttonBox;
    QLabel *message;
    QLabel *picture;
    QProgressBar *progressBar;
};

// Builds the form on `dialog`, applies its texts, ties the button box to accept() and reject()
// and connects the dialog's slots by name.
TransferFormWidgets setupTransferForm(QDialog *dialog, const TransferFormLayout &layout);
void retranslateTransferForm(QDialog *dialog, const TransferFormLayout &layout, QLabel *message, QLabel *picture);
