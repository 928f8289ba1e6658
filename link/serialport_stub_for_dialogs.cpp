// TEMPORARY: stands in for SerialPort::probe and devicePathForPort until the serial port code
// is merged; delete this file then.
#include "link/portname.h"
#include "link/serialport.h"

#include <QDir>
#include <QFileInfo>
#include <QRegularExpression>
#include <QSerialPort>

QString devicePathForPort(const QString &portName) {
#ifdef Q_OS_WIN
    return QStringLiteral("\\\\.\\") + portName;
#else
    const QString portDir = qEnvironmentVariable("DOWNLOADER_PORT_DIR");
    if (!portDir.isEmpty() && QFileInfo(portDir).isDir())
        return QDir(portDir).filePath(portName);
    const QRegularExpressionMatch match = QRegularExpression(QStringLiteral("^COM(\\d+)$")).match(portName);
    if (match.hasMatch())
        return QStringLiteral("/dev/ttyS%1").arg(match.captured(1).toInt() - 1);
    return portName;
#endif
}

bool SerialPort::probe(const QString &portName) {
    QSerialPort port;
    port.setPortName(devicePathForPort(portName));
    if (!port.open(QIODevice::ReadWrite))
        return false;
    port.close();
    return true;
}
