#pragma once

class QDialog;
class QDialogButtonBox;
class QLabel;
class QProgressBar;

// The form of the verify dialog.
class Ui_verify {
public:
    QDialogButtonBox *buttonBox;
    QLabel *msg;
    QLabel *pic;
    QProgressBar *progressBar;

    void setupUi(QDialog *verify);
    void retranslateUi(QDialog *verify);
};
