#pragma once

#include <QString>

class QTextStream;

// The settings of the serial link. Held by value in the main window and copied by value into
// every transfer; nothing is ever copied back.
struct LinkSettings {
    LinkSettings();
    LinkSettings(const QString &port, const int &baudrate, const char &checkSize, const char &ackChar,
                 const int &serialTimeout);

    // Reads key=value lines up to a "---" line or the end of the stream. Returns the bit set of
    // the mandatory keys not accepted (bit 0 Baudrate, 1 Port, 2 SerialTimeout, 3 CheckSize,
    // 4 CheckValue): 0 when all five were read.
    char read(QTextStream &in);

    QString port;
    int baudrate;
    char checkSize; // 0..3: sum modulo 8, 16, 24 or 32; any other value is the check character
    char ackChar;
    int serialTimeout; // milliseconds
    int checkValue;    // 0: no check suffix
    char downloadSeparator;
    char uploadSeparator;
    char uploadCommand;
    QString dataText;
    QString fileName;
    QString filePath;
};
