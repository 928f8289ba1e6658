#include "mainwindow/mainwindow.h"

#include "dialogs/chardialogs.h"
#include "dialogs/setcom.h"
#include "mainwindow/ui_mainwindow.h"

#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>

// The settings dialogs are created per use with the window as parent, run modally and then left
// hidden under the window; the next use creates a new one.

namespace {

// The first byte of a box's text in Latin-1 ('?' for anything outside it); 0 for an empty box.
char firstByte(const QLineEdit *box) {
    const QByteArray bytes = box->text().toLatin1();
    return bytes.isEmpty() ? '\0' : bytes.at(0);
}

QString charText(char c) {
    return QString(QChar::fromLatin1(c));
}

QString checkSuffixName(char checkSize) {
    switch (checkSize) {
    case 0:
        return QStringLiteral("8bit sum");
    case 1:
        return QStringLiteral("16bit sum");
    case 2:
        return QStringLiteral("24bit sum");
    case 3:
        return QStringLiteral("32bit sum");
    default:
        return charText(checkSize);
    }
}

} // namespace

void MainWindow::show_port() {
    auto *dialog = new setcom(settings.port, settings.baudrate, this);
    if (dialog->exec() != QDialog::Accepted)
        return;
    const PortSelection chosen = dialog->selection();
    settings.port = chosen.port;
    settings.baudrate = chosen.baudrate;
    // One blank before "Baud" here; the constructor's label has two.
    portLabel->setText(QStringLiteral("%1 Baud: %2").arg(settings.port, QString::number(settings.baudrate)));
}

void MainWindow::setCheck() {
    if (settings.checkValue != 0) {
        settings.checkValue = 0;
        ui->menuCHKS->setEnabled(false);
    } else {
        settings.checkValue = 1;
        ui->menuCHKS->setEnabled(true);
    }
}

void MainWindow::setChks8() {
    settings.checkSize = 0;
}

void MainWindow::setChks16() {
    settings.checkSize = 1;
}

void MainWindow::setChks24() {
    settings.checkSize = 2;
}

void MainWindow::setChks32() {
    settings.checkSize = 3;
}

// A typed "0" is the fixed check character 0x30; only an empty box stores 0 (the 8-bit sum).
void MainWindow::setFixChar() {
    auto *dialog = new setFix(this, settings.checkSize);
    if (dialog->exec() == QDialog::Accepted)
        settings.checkSize = firstByte(dialog->ui->i_char);
}

void MainWindow::setAckChar() {
    auto *dialog = new setAck(this, settings.ackChar);
    if (dialog->exec() == QDialog::Accepted)
        settings.ackChar = firstByte(dialog->ui->i_char);
}

void MainWindow::setSeparators() {
    auto *dialog = new separators(this, settings.downloadSeparator, settings.uploadSeparator);
    if (dialog->exec() != QDialog::Accepted)
        return;
    settings.downloadSeparator = firstByte(dialog->ui->c_ds);
    settings.uploadSeparator = firstByte(dialog->ui->c_us);
}

void MainWindow::setUploadCommand() {
    auto *dialog = new setUC(this, settings.uploadCommand);
    if (dialog->exec() == QDialog::Accepted)
        settings.uploadCommand = firstByte(dialog->ui->i_char);
}

void MainWindow::show_info() {
    QString text;
    if (settings.filePath.isEmpty()) {
        text = QStringLiteral("No opened file.");
    } else {
        text = QStringLiteral("Port: ") + settings.port + QLatin1Char('\n');
        text += QStringLiteral("Baudrate: B") + QString::number(settings.baudrate) + QLatin1Char('\n');
        text += QStringLiteral("Timeout: ") + QString::number(settings.serialTimeout) + QLatin1Char('\n');
        text += QStringLiteral("CHKS: ") + checkSuffixName(settings.checkSize) + QLatin1Char('\n');
        text += QStringLiteral("ACK char: ") + charText(settings.ackChar) + QLatin1Char('\n');
        text += QStringLiteral("Checkvalue: ") + QString::number(settings.checkValue) + QLatin1Char('\n');
        text += QStringLiteral("Download Separator: ") + charText(settings.downloadSeparator) + QLatin1Char('\n');
        text += QStringLiteral("Upload Separator: ") + charText(settings.uploadSeparator) + QLatin1Char('\n');
        text += QStringLiteral("Upload Command: ") + charText(settings.uploadCommand) + QLatin1Char('\n');
    }
    QMessageBox::information(this, QStringLiteral("Information"), text, QMessageBox::Ok);
}
