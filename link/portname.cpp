#include "portname.h"

#include <QDir>
#include <QFileInfo>
#include <QMutex>
#include <QRegularExpression>
#include <QtDebug>

QString portDirectory() {
    const QString value = qEnvironmentVariable("DOWNLOADER_PORT_DIR");
    if (value.isEmpty())
        return QString();
    const QFileInfo folder(value);
    if (folder.isDir())
        return folder.absoluteFilePath();
    // Said once for each value, not for every port the port dialog tries.
    static QMutex mutex;
    static QString warnedAbout;
    const QMutexLocker lock(&mutex);
    if (value != warnedAbout) {
        warnedAbout = value;
        qWarning("DOWNLOADER_PORT_DIR=%s names no folder; using /dev/ttyS*", qPrintable(value));
    }
    return QString();
}

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
    const QString portFolder = portDirectory();
    if (!portFolder.isEmpty())
        return QDir(portFolder).filePath(portName);
    bool isNumber = false;
    const int number = match.captured(1).toInt(&isNumber);
    if (!isNumber)
        return QStringLiteral("/dev/null/") + portName;
    return QStringLiteral("/dev/ttyS%1").arg(number - 1);
#endif
}
