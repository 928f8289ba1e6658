#include "mainwindow/mainwindow.h"

#include "link/configtext.h"
#include "link/dload.h"
#include "link/upload.h"
#include "link/verify.h"
#include "mainwindow/formlists.h"
#include "mainwindow/ui_mainwindow.h"
#include "texts/texts.h"

#include <QLineEdit>
#include <QMessageBox>

// Download and verify first run the field check as leaving a field does: no value that the form
// refuses reaches the module, and the check's box is the only one (the dialog taking the focus
// would otherwise run the check over the running transfer).
void MainWindow::download() {
    if (!fieldCheckPasses())
        return;
    ui->tabWidget->setCurrentIndex(0);
    settings.dataText = QLatin1String("");

    const FormLists lists = formLists(ui->centralWidget);
    const ConfigText::Result composed = ConfigText::compose(readForm(lists), settings.downloadSeparator, true, true);
    const DownloadCheckTexts &texts = textTable().downloadCheck;
    const char *message = nullptr;
    switch (composed.problem) {
    case ConfigText::Problem::None:
        break;
    case ConfigText::Problem::GreaterThanZero:
        lists.edits[composed.editIndex]->clear();
        lists.edits[composed.editIndex]->setFocus(Qt::OtherFocusReason);
        message = texts.greaterThanZero;
        break;
    case ConfigText::Problem::AllInputs:
        message = texts.allInputs;
        break;
    case ConfigText::Problem::SevenBit:
        message = texts.sevenBit;
        break;
    }
    if (message) {
        QMessageBox::critical(this, QString::fromUtf8(texts.title), QString::fromUtf8(message));
        return;
    }

    settings.dataText = composed.text;
    if (settings.checkValue > 0)
        settings.dataText += ConfigText::checkSuffix(composed.text, settings.checkSize);

    dload dialog(settings, this);
    dialog.exec();
}

void MainWindow::readup() {
    ui->tabWidget->setCurrentIndex(0);
    upload dialog(settings, ui->centralWidget, this);
    // Also after Ok on a failed read: the preset then follows the unchanged number.
    if (dialog.exec() == QDialog::Accepted)
        selectSmsCentreForNumber();
}

void MainWindow::verify_func() {
    if (!fieldCheckPasses())
        return;
    ui->tabWidget->setCurrentIndex(0);
    verify dialog(settings, ui->centralWidget, this);
    dialog.exec();
}
