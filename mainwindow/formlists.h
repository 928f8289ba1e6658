#pragma once

#include "formvalues.h"

#include <QList>

class QCheckBox;
class QLineEdit;
class QRadioButton;
class QWidget;

// The form's widgets in the order of the form lists: the order of the values in the ".sms"
// file and in the device configuration text.
struct FormLists {
    QList<QLineEdit *> edits;
    QList<QCheckBox *> checks;
    QList<QRadioButton *> radios;
};

// Collects the lists under the form's central widget: the line edits group box by group box
// (g_general, g_analog, g_be, g_ki, g_tel), the check boxes (all in g_tel) in one search, the
// radio buttons from g_tel, then g_ki_csengetes, whichever page was shown last.
FormLists formLists(QWidget *centralWidget);

// The names, texts, "group" properties and checked states the form shows now.
FormValues readForm(const FormLists &lists);

// Puts the texts and checked states of values into the form, position by position. A radio set
// to false stays checked if it is the checked one of its exclusive group, as the toolkit does.
void writeForm(const FormLists &lists, const FormValues &values);
