#pragma once

#include "texts/texts.h"

#include <QDialog>
#include <QRect>
#include <QSize>

class QDialogButtonBox;
class QHBoxLayout;
class QLabel;
class QLineEdit;
class QSpacerItem;

// The dialogs that edit one-character link settings. They know nothing of the settings: they
// take the current character(s) and leave the typed text in their boxes, which the caller reads
// through ui after an accepted exec(). Ok is enabled only while every box holds a character
// (re-evaluated on each change; enabled at opening).

// Where the members of the one-character family differ.
struct CharDialogLayout {
    const char *name; // object name and translation context
    CharDialogTexts TextTable::*texts;
    QSize size;
    QRect buttonBox;
    bool centerButtons;
    QRect row;
};

// The form of the one-character family: a label and a one-character box in a row, and Ok/Cancel.
class Ui_charDialog {
public:
    explicit Ui_charDialog(const CharDialogLayout &layout) : layout(layout) {}

    QDialogButtonBox *buttonBox;
    QWidget *horizontalLayoutWidget;
    QHBoxLayout *horizontalLayout;
    QLabel *label;
    QSpacerItem *horizontalSpacer;
    QLineEdit *i_char;

    void setupUi(QDialog *dialog);
    void retranslateUi(QDialog *dialog);

private:
    const CharDialogLayout &layout;
};

class Ui_setFix : public Ui_charDialog {
public:
    Ui_setFix();
};

class Ui_setAck : public Ui_charDialog {
public:
    Ui_setAck();
};

class Ui_setUC : public Ui_charDialog {
public:
    Ui_setUC();
};

// Behaviour shared by setFix, setAck and setUC.
class CharDialog : public QDialog {
    Q_OBJECT

public:
    ~CharDialog() override;

    Ui_charDialog *ui;

protected:
    // Takes ownership of form. The box shows current unless showCurrent is false.
    CharDialog(QWidget *parent, Ui_charDialog *form, char current, bool showCurrent);
    void changeEvent(QEvent *event) override;

protected slots:
    void handleChange(const QString &text);
};

// The fixed check character; its box always opens empty.
class setFix : public CharDialog {
    Q_OBJECT

public:
    setFix(QWidget *parent, char current);
};

// The acknowledgement character.
class setAck : public CharDialog {
    Q_OBJECT

public:
    setAck(QWidget *parent, char current);
};

// The command byte with which verify asks for the module's configuration.
class setUC : public CharDialog {
    Q_OBJECT

public:
    setUC(QWidget *parent, char current);
};

class Ui_separators {
public:
    QDialogButtonBox *buttonBox;
    QWidget *horizontalLayoutWidget;
    QHBoxLayout *horizontalLayout;
    QLabel *label;
    QSpacerItem *horizontalSpacer;
    QLineEdit *c_ds;
    QWidget *horizontalLayoutWidget_2;
    QHBoxLayout *horizontalLayout_2;
    QLabel *label_2;
    QSpacerItem *horizontalSpacer_2;
    QLineEdit *c_us;

    void setupUi(QDialog *separators);
    void retranslateUi(QDialog *separators);
};

// The download separator (c_ds) and the upload separator (c_us).
class separators : public QDialog {
    Q_OBJECT

public:
    separators(QWidget *parent, char downloadSeparator, char uploadSeparator);
    ~separators() override;

    Ui_separators *ui;

protected:
    void changeEvent(QEvent *event) override;

protected slots:
    void handleChange();
};
