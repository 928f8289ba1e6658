#include "mainwindow/mainwindow.h"

#include "configfile/savefile.h"
#include "configfile/smsfile.h"
#include "mainwindow/formlists.h"
#include "mainwindow/ui_mainwindow.h"
#include "texts/texts.h"

#include <QFile>
#include <QFileDialog>
#include <QFileInfo>
#include <QLabel>
#include <QMessageBox>
#include <QTextStream>

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

    if (!QFile::exists(settings.filePath)) {
        if (settings.filePath != defaultFileName)
            QMessageBox::critical(this, QString::fromUtf8(texts.errorTitle), QString::fromUtf8(texts.missing));
        return;
    }

    // A file that cannot be opened (no read permission) reads as one empty line, and so fails the
    // line count; so does anything but a regular file, which is never opened: a folder, a FIFO
    // (opening it waits for a writer) or a device (a link to /dev/zero never ends). QFileInfo
    // looks through links. So does a file larger than any the program writes, which is not even
    // read, and no more than that is read of one that grows meanwhile.
    QStringList lines{QString()};
    const QFileInfo info(settings.filePath);
    QFile file(settings.filePath);
    if (info.isFile() && info.size() <= SmsFile::maxFileSize && file.open(QIODevice::ReadOnly)) {
        const QByteArray bytes = file.read(SmsFile::maxFileSize + 1);
        file.close();
        if (bytes.size() <= SmsFile::maxFileSize) {
            QTextStream in(bytes);
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
