#include "portname.h"

#include <QDir>
#include <QRegularExpression>

QString devicePathForPort(const QString &portName) {
#ifdef Q_OS_WIN
    // The device namespace prefix lets ports above COM9 open as well.
    return QStringLiteral("\\\\.\\") + portName;
#else
    static const QRegularExpression comPort(QStringLiteral("^COM([1-9][0-9]*)$"));
    const QRegularExpressionMatch match = comPort.match(portName);
    if (!match.hasMatch()) {
        // Not a serial port name: a path below a plain file, which no open can succeed on.
        return QStringLiteral("/dev/null/") + portName;
    }
    const QString portDirectory = qEnvironmentVariable("DOWNLOADER_PORT_DIR");
    if (!portDirectory.isEmpty())
        return QDir(portDirectory).filePath(portName);
    bool isNumber = false;
    const int number = match.captured(1).toInt(&isNumber);
    if (!isNumber)
        return QStringLiteral("/dev/null/") + portName;
    return QStringLiteral("/dev/ttyS%1").arg(number - 1);
#endif
}
