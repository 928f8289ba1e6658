#include "mainwindow/mainwindow.h"

#include "link/serialport.h"
#include "link/statusreply.h"
#include "mainwindow/ui_mainwindow.h"
#include "texts/texts.h"

#include <QMessageBox>
#include <QProgressDialog>

namespace {

const char *const busyButtonStyle = "color: rgb(255, 255, 255); background-color: rgb(180, 180, 180);";
const char *const idleButtonStyle = "color: rgb(255, 255, 255); background-color: rgb(0, 170, 127);";
const char *const greyLamp = "background-color: rgb(180, 180, 180);";
const char *const orangeLamp = "background-color: rgb(255, 170, 0);";
const char *const blueLamp = "background-color: rgb(0, 170, 255);";
const char *const greenLamp = "background-color: rgb(0, 170, 0);";
const char *const redLamp = "background-color: rgb(255, 0, 0);";

constexpr quint32 statusReadTimeoutMs = 5000;

// Asks the module for its status line. Empty when the port cannot be opened, the module stays
// silent or it sends more than a status line can hold without ending it.
std::optional<QByteArray> queryStatusLine(const QString &portName, QProgressDialog &progress) {
    SerialPort port;
    if (!port.open(portName, 0, statusReadTimeoutMs))
        return std::nullopt;
    QByteArray reply;
    bool overlong = false;
    port.writeByte('~');
    if (port.writeByte('[')) {
        char byte = 0;
        while (port.readByte(byte)) {
            if (byte == '\r') {
                progress.reset();
                break;
            }
            if (reply.size() == statusReplyLimit) {
                overlong = true;
                break;
            }
            reply.append(byte);
            progress.setValue(progress.value() + 1);
        }
    }
    port.close();
    if (overlong)
        return std::nullopt;
    return reply;
}

} // namespace

void MainWindow::allapot() {
    const StatusQueryTexts &texts = textTable().status;
    ui->allapot_gomb->setStyleSheet(QLatin1String(busyButtonStyle));
    ui->allapot_gomb->setText(QString::fromUtf8(texts.busy));
    ui->allapot_gomb->setEnabled(false);
    ui->terero->setStyleSheet(QString());
    ui->terero->reset();

    QProgressDialog progress(this);
    progress.setWindowModality(Qt::WindowModal);
    progress.setLabelText(QString::fromUtf8(texts.progress));
    progress.setRange(0, 50);

    const std::optional<QByteArray> line = queryStatusLine(settings.port, progress);
    const std::optional<StatusReport> report =
        line ? parseStatusReply(*line, texts.supplyOnChar) : std::optional<StatusReport>();

    ui->allapot_gomb->setStyleSheet(QLatin1String(idleButtonStyle));
    ui->allapot_gomb->setText(uiText("MainWindow", textTable().form.allapot_gomb));
    ui->allapot_gomb->setEnabled(true);

    if (!report) {
        // The progress dialog's own show timer would otherwise pop it up over the message.
        progress.reset();
        QMessageBox::critical(this, QString::fromUtf8(texts.errorTitle), QString::fromUtf8(texts.failure));
        return;
    }

    QWidget *const outputLamps[] = {ui->w_ki1, ui->w_ki2, ui->w_ki3, ui->w_ki4};
    QWidget *const inputLamps[] = {ui->w_be1, ui->w_be2, ui->w_be3, ui->w_be4};
    for (int i = 0; i < 4; ++i)
        outputLamps[i]->setStyleSheet(QLatin1String(report->outputs[i] ? orangeLamp : greyLamp));
    for (int i = 0; i < 4; ++i)
        inputLamps[i]->setStyleSheet(QLatin1String(report->inputs[i] ? blueLamp : greyLamp));
    ui->l_analog1->setText(report->analog1 + QLatin1String(" V"));
    ui->l_analog2->setText(report->analog2 + QLatin1String(" V"));
    ui->w_tp->setStyleSheet(QLatin1String(report->supplyOn ? greenLamp : redLamp));

    ui->terero->setRange(0, 32);
    ui->terero->reset();
    ui->terero->setValue(report->signal);
    ui->terero->setStyleSheet(report->signal > 5
                                  ? QStringLiteral("QProgressBar::chunk { background-color: #05B8CC; }")
                                  : QStringLiteral("QProgressBar::chunk { background-color: #FF0000; }"));
    ui->l_ver->setText(QStringLiteral("Verzió: ") + report->version);
}
