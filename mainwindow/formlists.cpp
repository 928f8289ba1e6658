#include "formlists.h"

#include <QCheckBox>
#include <QGroupBox>
#include <QLineEdit>
#include <QRadioButton>

FormLists formLists(QWidget *centralWidget) {
    FormLists lists;
    // One search per group box: a single search over the central widget would put the phone
    // numbers of g_tel (first page) right after g_general.
    for (const char *boxName : {"g_general", "g_analog", "g_be", "g_ki", "g_tel"}) {
        if (auto *box = centralWidget->findChild<QGroupBox *>(QString::fromLatin1(boxName)))
            lists.edits += box->findChildren<QLineEdit *>(QString());
    }
    lists.checks = centralWidget->findChildren<QCheckBox *>(QString());
    // The tab widget raises the page it shows to the end of its children, so one search over the
    // central widget would list the radios in the order the pages were last visited.
    for (const char *boxName : {"g_tel", "g_ki_csengetes"}) {
        if (auto *box = centralWidget->findChild<QGroupBox *>(QString::fromLatin1(boxName)))
            lists.radios += box->findChildren<QRadioButton *>(QString());
    }
    return lists;
}

FormValues readForm(const FormLists &lists) {
    FormValues values;
    for (const QLineEdit *edit : lists.edits) {
        values.editNames << edit->objectName();
        values.edits << edit->text();
    }
    for (const QCheckBox *box : lists.checks) {
        values.checkGroups << box->property("group").toString();
        values.checks << box->isChecked();
    }
    for (const QRadioButton *radio : lists.radios) {
        values.radioNames << radio->objectName();
        values.radios << radio->isChecked();
    }
    return values;
}

void writeForm(const FormLists &lists, const FormValues &values) {
    for (qsizetype i = 0; i < qMin(lists.edits.size(), values.edits.size()); ++i) {
        lists.edits[i]->clear();
        lists.edits[i]->setText(values.edits[i]);
    }
    for (qsizetype i = 0; i < qMin(lists.checks.size(), values.checks.size()); ++i)
        lists.checks[i]->setChecked(values.checks[i]);
    for (qsizetype i = 0; i < qMin(lists.radios.size(), values.radios.size()); ++i)
        lists.radios[i]->setChecked(values.radios[i]);
}
