#pragma once

class QDialog;
class QDialogButtonBox;
class QLabel;
class QProgressBar;

// The form of the read-back dialog.
class Ui_upload {
public:
    QDialogButtonBox *buttonBox;
    QLabel *msg;
    QLabel *pic;
    QProgressBar *progressBar;

    void setupUi(QDialog *upload);
    void retranslateUi(QDialog *upload);
};
