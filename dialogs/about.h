#pragma once

#include <QDialog>

class QDialogButtonBox;
class QLabel;
class QSpacerItem;
class QVBoxLayout;

class Ui_about {
public:
    QWidget *verticalLayoutWidget;
    QVBoxLayout *verticalLayout;
    QLabel *label;
    QLabel *label_3;
    QLabel *label_2;
    QSpacerItem *verticalSpacer;
    QLabel *label_4;
    QSpacerItem *verticalSpacer_2;
    QLabel *label_6;
    QDialogButtonBox *buttonBox;

    void setupUi(QDialog *about);
    void retranslateUi(QDialog *about);
};

// The about box: maker, web sites, contact, author and version.
class about : public QDialog {
    Q_OBJECT

public:
    explicit about(QWidget *parent = nullptr);
    ~about() override;

    Ui_about *ui;

protected:
    void changeEvent(QEvent *event) override;
};
