#include "mainwindow/mainwindow.h"

#include "configfile/regularfile.h"
#include "configfile/savefile.h"
#include "configfile/smsfile.h"
#include "mainwindow/formlists.h"
#include "mainwindow/ui_mainwindow.h"
#include "texts/texts.h"

#include <QFileDialog>
#include <QLabel>
#include <QMessageBox>
#include <QTextStream>

#include <fcntl.h>

namespace {

const QString defaultFileName = QStringLiteral("default_tkm-720.sms");

} // namespace

void MainWindow::newfile() {
    settings.fileName = defaultFileName;
    settings.filePath = defaultFileName;
    loadSmsFile();
}

void MainWindow::openfile() {
    const FileTexts &texts = textTable().file;
    settings.filePath = QFileDialog::getOpenFileName(this, uiText("MainWindow", texts.openCaption), QStringLiteral("."),
                                                     uiText("MainWindow", texts.filter));
    if (!settings.filePath.isNull())
        loadSmsFile();
}

void MainWindow::save() {
    const FileTexts &texts = textTable().file;
    ui->tabWidget->setCurrentIndex(0);
    const QString path = QFileDialog::getSaveFileName(this, uiText("MainWindow", texts.saveCaption),
                                                      QStringLiteral("."), uiText("MainWindow", texts.filter));
    if (path.isEmpty())
        return;

    if (!SaveFile::writeSmsFile(path, SmsFile::toLines(readForm(formLists(ui->centralWidget))))) {
        // The configuration is not stored: say so, and keep the current file as it was.
        QMessageBox::critical(this, QString::fromUtf8(texts.errorTitle), QString::fromUtf8(texts.saveFailed));
        return;
    }
    settings.filePath = path;
    settings.fileName = SmsFile::displayName(path);
    fileLabel->setText(settings.fileName);
    QMessageBox::information(this, QString::fromUtf8(texts.saveTitle), QString::fromUtf8(texts.saveSuccess));
}

void MainWindow::loadSmsFile() {
    const FileTexts &texts = textTable().file;
    ui->tabWidget->setCurrentIndex(0);

    // Anything there that cannot be read whole reads as one empty line, and so fails the line
    // count: a file without read permission, a folder, anything but a regular file (a FIFO or a
    // device is never opened: a link to /dev/zero would never end, a terminal's board would reset),
    // and a file larger than any the program writes.
    QStringList lines{QString()};
    {
        const RegularFile::File file = RegularFile::open(settings.filePath, O_RDONLY);
        if (file.outcome == RegularFile::Outcome::Missing) {
            if (settings.filePath != defaultFileName)
                QMessageBox::critical(this, QString::fromUtf8(texts.errorTitle), QString::fromUtf8(texts.missing));
            return;
        }
        if (const std::optional<QByteArray> bytes = RegularFile::readWhole(file, SmsFile::maxFileSize)) {
            QTextStream in(*bytes);
            in.setEncoding(QStringConverter::System);
            lines = SmsFile::readLines(in);
        }
    }

    const std::optional<FormValues> values = SmsFile::fromLines(lines);
    if (!values) {
        QMessageBox::critical(this, QString::fromUtf8(texts.errorTitle), QString::fromUtf8(texts.syntax));
        return;
    }
    writeForm(formLists(ui->centralWidget), *values);
    settings.fileName = SmsFile::displayName(settings.filePath);
    settings.dataText = QLatin1String("");
    selectSmsCentreForNumber();
    fileLabel->setText(settings.fileName);
}
