#include "serialport.h"

#include "portlocks.h"
#include "portname.h"

#include <QDeadlineTimer>
#include <QSerialPort>
#include <QtDebug>

#include <algorithm>
#include <limits>
#include <thread>

#include <sys/file.h>

namespace {

// How long one wait lasts while a stop flag is watched.
constexpr int stopSliceMs = 50;

std::atomic<std::chrono::microseconds::rep> lineByteTimeUs{SerialPort::byteTimeAt1200Baud.count()};

// Kept beyond the line's end before a close puts back the settings of open.
constexpr std::chrono::milliseconds closeGuard{2};

// Bytes written but not yet carried, at most: one on the wire and the next one waiting, so that
// the line never idles between bytes.
constexpr int bytesQueuedAtMost = 2;

bool isTimeout(const QSerialPort &port) {
    return port.error() == QSerialPort::NoError || port.error() == QSerialPort::TimeoutError;
}

// A look at the device of a port. Its other names include the program's own links to it.
PortCheck checkPort(const QString &portName) {
    QStringList aliasFolders = PortLocks::aliasFolders();
    const QString portFolder = portDirectory();
    if (!portFolder.isEmpty())
        aliasFolders << portFolder;
    return PortCheck(devicePathForPort(portName), PortLocks::lockFolders(), aliasFolders);
}

} // namespace

SerialPort::SerialPort() = default;

SerialPort::~SerialPort() {
    close();
}

bool SerialPort::open(const QString &portName, quint32 readTotalMultiplier, quint32 readTotalConstant) {
    close();

    // A device that another program holds is never handed to QSerialPort: its lock file takes a
    // foreign lock (one that names no Qt program) for stale and deletes it, and its close ends the
    // terminal's exclusive mode for whoever set it.
    const PortCheck check = checkPort(portName);
    if (check.isHeld()) {
        qDebug("unable to open comport");
        return false;
    }
    // Created here so that it lives in the thread that does the exchange.
    auto candidate = std::make_unique<QSerialPort>();
    candidate->setPortName(check.device());
    // QSerialPort takes a lock file for the device and sets its exclusive mode; the BSD lock keeps
    // out the programs that look only for that (picocom, pyserial), also where they run as root,
    // whom the exclusive mode does not stop. Closing the port releases it.
    if (!candidate->open(QIODevice::ReadWrite)) {
        qDebug("unable to open comport");
        return false;
    }
    if (::flock(candidate->handle(), LOCK_EX | LOCK_NB) != 0) {
        qDebug("unable to open comport");
        candidate->close();
        return false;
    }
    // The line is always 1200 baud 8N1; the baud rate of the link settings is only shown.
    if (!candidate->setBaudRate(QSerialPort::Baud1200)) {
        qDebug("unable to set comport dcb settings");
        candidate->close();
        return false;
    }
    if (!candidate->setDataBits(QSerialPort::Data8) || !candidate->setParity(QSerialPort::NoParity) ||
        !candidate->setStopBits(QSerialPort::OneStop) || !candidate->setFlowControl(QSerialPort::NoFlowControl)) {
        qDebug("unable to set comport cfg settings");
        candidate->close();
        return false;
    }
    const quint64 readTimeout = quint64(readTotalMultiplier) + readTotalConstant;
    if (readTimeout > quint64(std::numeric_limits<int>::max())) {
        qDebug("unable to set comport time-out settings");
        candidate->close();
        return false;
    }
    readTimeoutMs = int(readTimeout);
    lineBusyUntil = {};
    port = std::move(candidate);
    return true;
}

bool SerialPort::writeByte(char c) {
    if (!port)
        return false;
    if (!waitForLine())
        return false;
    if (port->write(&c, 1) != 1)
        return false;
    const bool handedOver = handOver();
    // The byte's time on the line starts no earlier than the driver had it: counted from a time
    // read before, the line would run behind the clock whenever the hand-over came late. A byte
    // still in our own buffer (a stop, a failure) is counted too, as it may yet leave.
    lineBusyUntil = std::max(std::chrono::steady_clock::now(), lineBusyUntil) + byteTime();
    return handedOver;
}

bool SerialPort::readByte(char &c) {
    if (!port)
        return false;
    const QDeadlineTimer deadline(readTimeoutMs, Qt::PreciseTimer);
    for (;;) {
        if (port->bytesAvailable() > 0)
            return port->getChar(&c);
        if (stopRequested())
            return false;
        const qint64 remaining = deadline.remainingTime();
        const int wait = int(stopFlag ? qMin<qint64>(remaining, stopSliceMs) : remaining);
        if (!port->waitForReadyRead(wait)) {
            // Bytes that arrived before a failure are still delivered.
            if (port->bytesAvailable() > 0)
                return port->getChar(&c);
            // A line that is gone fails every read at once; only a quiet line waits.
            if (!isTimeout(*port))
                return false;
            port->clearError();
            if (deadline.hasExpired() && port->bytesAvailable() == 0)
                return false;
        }
    }
}

bool SerialPort::handOver() {
    // The driver has room for the byte almost always: hand it over without polling first.
    port->flush();
    while (port->bytesToWrite() > 0) {
        if (stopRequested())
            return false;
        if (!port->waitForBytesWritten(stopFlag ? stopSliceMs : -1)) {
            if (!isTimeout(*port))
                return false;
            port->clearError();
        }
    }
    return true;
}

void SerialPort::close() {
    if (!port)
        return;
    // Bytes still queued would go on to the module after a stop, and a real UART's close would
    // wait until they had gone.
    port->clear(QSerialPort::Output);
    // No discard reaches the bytes already handed to a UART's own FIFO (at most the two that
    // writing lets ahead), and the close puts back the settings the port had at open: let them
    // leave at the line's speed first. The guard covers the driver's own delay in starting them.
    std::this_thread::sleep_until(lineBusyUntil + closeGuard);
    port->close();
    port.reset();
}

bool SerialPort::isOpen() const {
    return port != nullptr;
}

void SerialPort::setStopFlag(const std::atomic_bool *stop) {
    stopFlag = stop;
}

bool SerialPort::probe(const QString &portName) {
    const PortCheck check = checkPort(portName);
    if (check.isHeld())
        return false;
    QSerialPort candidate;
    candidate.setPortName(check.device());
    if (!candidate.open(QIODevice::ReadWrite))
        return false;
    candidate.close();
    return true;
}

std::chrono::microseconds SerialPort::byteTime() {
    return std::chrono::microseconds(lineByteTimeUs.load());
}

void SerialPort::setByteTime(std::chrono::microseconds time) {
    lineByteTimeUs = time.count();
}

bool SerialPort::stopRequested() const {
    return stopFlag && stopFlag->load();
}

bool SerialPort::waitForLine() {
    const auto writeFrom = lineBusyUntil - (bytesQueuedAtMost - 1) * byteTime();
    for (;;) {
        if (stopRequested())
            return false;
        const auto now = std::chrono::steady_clock::now();
        if (now >= writeFrom)
            return true;
        std::chrono::steady_clock::duration wait = writeFrom - now;
        if (stopFlag)
            wait = std::min<std::chrono::steady_clock::duration>(wait, std::chrono::milliseconds(stopSliceMs));
        std::this_thread::sleep_for(wait);
    }
}
