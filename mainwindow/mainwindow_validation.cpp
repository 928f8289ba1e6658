#include "mainwindow.h"

#include "formlists.h"
#include "smscentre.h"
#include "texts/texts.h"
#include "ui_mainwindow.h"
#include "validation.h"

#include <QLineEdit>
#include <QMessageBox>
#include <QScopedValueRollback>

namespace {

// Set while input_check() reports a failure. Its focus change and its warning box end the editing
// of a line edit, whose editingFinished() comes back into the slot; such a nested run would stack
// the next bad edit's warning on top of the first one. It is reported by the next run instead.
bool reportingInputError = false;

} // namespace

void MainWindow::input_check() {
    if (reportingInputError)
        return;
    const FormLists lists = formLists(ui->centralWidget);
    const FormValues values = readForm(lists);
    const std::optional<ValidationFailure> failure = checkEdits(values.editNames, values.edits);
    if (!failure)
        return;

    const QScopedValueRollback reporting(reportingInputError, true);
    for (int index : failure->cleared)
        lists.edits[index]->clear();
    lists.edits[failure->focused]->setFocus(Qt::OtherFocusReason);

    const ValidationTexts &texts = textTable().validation;
    const char *message = nullptr;
    switch (failure->message) {
    case ValidationFailure::OnlyNumbers:
        message = texts.onlyNumbers;
        break;
    case ValidationFailure::Range:
        message = texts.range;
        break;
    case ValidationFailure::SevenBit:
        message = texts.sevenBit;
        break;
    case ValidationFailure::ZeroOrOne:
        message = texts.zeroOrOne;
        break;
    case ValidationFailure::PhoneNumber:
        message = texts.phoneNumber;
        break;
    }
    QMessageBox::warning(this, QString::fromUtf8(texts.title), QString::fromUtf8(message));
}

void MainWindow::smskpSelect() {
    const QString other = uiText("MainWindow", textTable().form.operatorOther);
    if (ui->smskp_combo->currentText() == other) {
        ui->smskp->setEnabled(true);
        ui->smskp->setFocus(Qt::OtherFocusReason);
    } else {
        ui->smskp->setEnabled(false);
    }
    const QString number = smsCentreNumberForOperator(ui->smskp_combo->currentText());
    if (!number.isEmpty())
        ui->smskp->setText(number);
}

void MainWindow::selectSmsCentreForNumber() {
    ui->smskp_combo->setCurrentIndex(smsCentreIndexForNumber(ui->smskp->text()));
}
