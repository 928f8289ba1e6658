#include "mainwindow.h"

#include "formlists.h"
#include "smscentre.h"
#include "texts/texts.h"
#include "ui_mainwindow.h"
#include "validation.h"

#include <QLineEdit>
#include <QMessageBox>

void MainWindow::input_check() {
    const FormLists lists = formLists(ui->centralWidget);
    const FormValues values = readForm(lists);
    const std::optional<ValidationFailure> failure = checkEdits(values.editNames, values.edits);
    if (!failure)
        return;

    // Clear before focusing: the focus change finishes the editing of another edit, whose
    // nested run must find the offending texts gone.
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
