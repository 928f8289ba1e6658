#include "dlthread.h"

#include <QStringList>

namespace {

// The module waits this long for nothing: every read of a download gives up after 3 s.
constexpr quint32 downloadReadTimeoutMs = 3000;
// The bar's first ten steps stand for the handshake.
constexpr int handshakeSteps = 10;
constexpr char lineEnd = '\r';

char wireByte(QChar character) {
    // A character outside Latin-1 goes out as 0.
    return character.unicode() > 0xFF ? char(0) : char(character.unicode());
}

} // namespace

dlThread::dlThread(const LinkSettings &settings, QObject *parent) : TransferThread(settings, parent) {}

void dlThread::exchange() {
    const int maximum = int(settings.dataText.size()) + handshakeSteps;
    emit progressRange(0, maximum);
    emit progressReset();

    if (!openPort(0, downloadReadTimeoutMs))
        return;
    portHandle.writeByte('~');
    portHandle.writeByte('}');

    char answer = 0;
    if (!portHandle.readByte(answer) || answer != 'R')
        return;
    int progress = handshakeSteps;
    emit progressValue(progress);
    // The module sends one more byte after 'R'; what it is does not matter.
    portHandle.readByte(answer);

    const auto advance = [&] {
        // The final line end would step past the maximum; the bar just stays full.
        if (++progress <= maximum)
            emit progressValue(progress);
    };
    const QStringList lines = settings.dataText.split(QLatin1Char(settings.downloadSeparator), Qt::KeepEmptyParts);
    for (const QString &line : lines) {
        for (const QChar character : line) {
            portHandle.writeByte(wireByte(character));
            advance();
        }
        portHandle.writeByte(lineEnd);
        advance();
        if (stopRequested())
            return;
    }

    // Either of the next two bytes may carry the acknowledgement.
    bool acknowledged = portHandle.readByte(answer) && answer == settings.ackChar;
    if (portHandle.readByte(answer) && answer == settings.ackChar)
        acknowledged = true;
    ok = acknowledged && !stopRequested();
}
