#include "mainwindow.h"

#include "formlists.h"
#include "smscentre.h"
#include "texts/texts.h"
#include "ui_mainwindow.h"
#include "validation.h"

#include <QApplication>
#include <QFocusEvent>
#include <QLineEdit>
#include <QMessageBox>
#include <QScopedValueRollback>

namespace {

// Set while input_check() reports a failure. Its focus change and its warning box take the focus
// from a line edit, which comes back into the slot; such a nested run would stack the next bad
// edit's warning on top of the first one. It is reported at the next focus change instead.
bool reportingInputError = false;

} // namespace

void MainWindow::input_check() {
    fieldCheckPasses();
}

bool MainWindow::fieldCheckPasses() {
    // A failure is being reported already.
    if (reportingInputError)
        return false;
    const FormLists lists = formLists(ui->centralWidget);
    const FormValues values = readForm(lists);
    const std::optional<ValidationFailure> failure = checkEdits(values.editNames, values.edits);
    if (!failure)
        return true;

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
    return false;
}

// A line edit's focus loss ends its editing, whatever the text, as editingFinished() did before
// Qt 6; only the edit's own context menu leaves the editing going on. The check runs before the
// edit sees the focus loss; it may hand the focus back to that edit or to another one.
// A window being destroyed takes the focus from its edit only after ~MainWindow() has deleted the
// form; that call reaches the base class's eventFilter(), not this one.
bool MainWindow::eventFilter(QObject *watched, QEvent *event) {
    if (event->type() == QEvent::FocusOut) {
        const QWidget *popup = QApplication::activePopupWidget();
        const bool ownPopup = static_cast<QFocusEvent *>(event)->reason() == Qt::PopupFocusReason && popup &&
                              popup->parentWidget() == watched;
        if (!ownPopup)
            input_check();
    }
    return QMainWindow::eventFilter(watched, event);
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
