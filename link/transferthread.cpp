#include "transferthread.h"

TransferThread::TransferThread(const LinkSettings &settings, QObject *parent) : QThread(parent), settings(settings) {
    portHandle.setStopFlag(&stopFlag);
}

TransferThread::~TransferThread() {
    stopAndWait();
}

void TransferThread::requestStop() {
    stopFlag = true;
}

void TransferThread::stopAndWait() {
    requestStop();
    wait();
    [[maybe_unused]] const bool ended = runEnded.load(std::memory_order_acquire);
}

void TransferThread::run() {
    if (!stopRequested() && canStart())
        exchange();
    portHandle.close();
    if (stopRequested())
        ok = false;
    runEnded.store(true, std::memory_order_release);
}

bool TransferThread::openPort(quint32 readTotalMultiplier, quint32 readTotalConstant) {
    return portHandle.open(settings.port, readTotalMultiplier, readTotalConstant);
}

std::optional<QString> TransferThread::fetchReply(char command, bool repeatLastByte) {
    // Fixed by the module's protocol: once this many characters have come, the bar stays full.
    constexpr int progressMaximum = 748;
    emit progressRange(0, progressMaximum);
    emit progressReset();

    if (!openPort(quint32(settings.serialTimeout), 0))
        return std::nullopt;
    portHandle.writeByte('~');
    QString reply;
    if (portHandle.writeByte(command))
        reply = receiveUntilSilence(repeatLastByte);
    portHandle.close();
    if (stopRequested())
        return std::nullopt;
    return reply;
}

QString TransferThread::receiveUntilSilence(bool repeatLastByte) {
    QString text;
    char byte = 0;
    bool anyByte = false;
    for (;;) {
        const bool arrived = portHandle.readByte(byte);
        if (stopRequested())
            return text;
        if (arrived || (repeatLastByte && anyByte))
            text.append(QChar(uchar(byte)));
        anyByte = anyByte || arrived;
        emit progressValue(int(text.size()));
        if (!arrived)
            return text;
    }
}
