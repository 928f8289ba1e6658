#include "linksettings.h"

#include <QStringList>
#include <QTextStream>

LinkSettings::LinkSettings() : LinkSettings(QStringLiteral("COM1"), 1200, 0, 'O', 2000) {}

LinkSettings::LinkSettings(const QString &port, const int &baudrate, const char &checkSize, const char &ackChar,
                           const int &serialTimeout)
    : port(port), baudrate(baudrate), checkSize(checkSize), ackChar(ackChar), serialTimeout(serialTimeout),
      checkValue(0), downloadSeparator('|'), uploadSeparator('|'), uploadCommand('{') {}

namespace {

char firstLatin1(const QString &value) {
    return value.at(0).toLatin1();
}

} // namespace

char LinkSettings::read(QTextStream &in) {
    quint8 accepted = 0;
    for (;;) {
        QString line = in.readLine();
        line.remove(QLatin1Char(' '));
        const QStringList parts = line.split(QLatin1Char('='));
        const QString &key = parts.first();
        const QString &value = parts.last();
        bool isNumber = false;
        const int number = value.toInt(&isNumber, 10);

        if (key == QLatin1String("Baudrate")) {
            if (!value.isEmpty() && isNumber) {
                baudrate = number;
                accepted += 1;
            }
        } else if (key == QLatin1String("Port")) {
            if (!value.isEmpty()) {
                port = value;
                accepted += 2;
            }
        } else if (key == QLatin1String("SerialTimeout")) {
            if (isNumber) {
                serialTimeout = number;
                accepted += 4;
            }
        } else if (key == QLatin1String("CheckSize")) {
            if (isNumber && number >= 1 && number <= 4) {
                checkSize = char(number - 1);
                accepted += 8;
            } else if (!isNumber && !value.isEmpty()) {
                checkSize = value.toLatin1().at(0);
                accepted += 8;
            }
        } else if (key == QLatin1String("CheckValue")) {
            if (isNumber && (number == 0 || number == 1)) {
                checkValue = number;
                accepted += 16;
            }
        } else if (key == QLatin1String("UploadCommand")) {
            if (!value.isEmpty())
                uploadCommand = firstLatin1(value);
        } else if (key == QLatin1String("UploadSeparator")) {
            if (!value.isEmpty())
                uploadSeparator = firstLatin1(value);
        } else if (key == QLatin1String("DownloadSeparator")) {
            if (!value.isEmpty())
                downloadSeparator = firstLatin1(value);
        }

        if (line == QLatin1String("---") || in.atEnd())
            break;
    }
    return char(quint8(31 - accepted));
}
