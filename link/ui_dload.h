#pragma once

class QDialog;
class QDialogButtonBox;
class QLabel;
class QProgressBar;

// The form of the download dialog.
class Ui_dload {
public:
    QDialogButtonBox *buttonBox;
    QLabel *label;  // the picture
    QLabel *kiiras; // the message
    QProgressBar *progressBar;

    void setupUi(QDialog *dload);
    void retranslateUi(QDialog *dload);
};
