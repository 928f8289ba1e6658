#pragma once

#include <QDialog>

class QDialogButtonBox;
class QPlainTextEdit;

class Ui_help {
public:
    QDialogButtonBox *buttonBox;
    QPlainTextEdit *plainTextEdit;

    void setupUi(QDialog *help);
    void retranslateUi(QDialog *help);
};

// The read-only viewer of the help file "tkm-730.hlp" in the working directory, in a window of
// fixed size. The file is read once, while the window is constructed.
class help : public QDialog {
    Q_OBJECT

public:
    explicit help(QWidget *parent = nullptr);
    ~help() override;

    Ui_help *ui;

protected:
    void changeEvent(QEvent *event) override;
};
