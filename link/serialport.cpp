#include "serialport.h"

#include "portname.h"

#include <QDeadlineTimer>
#include <QSerialPort>
#include <QtDebug>

#include <algorithm>
#include <limits>

namespace {

// How long one wait lasts while a stop flag is watched.
constexpr int stopSliceMs = 50;

// Ten bit times (start, 8 data, stop) at 1200 baud, rounded up.
constexpr std::chrono::microseconds byteTimeOnLine{8334};

bool isTimeout(const QSerialPort &port) {
    return port.error() == QSerialPort::NoError || port.error() == QSerialPort::TimeoutError;
}

} // namespace

SerialPort::SerialPort() = default;

SerialPort::~SerialPort() {
    close();
}

bool SerialPort::open(const QString &portName, quint32 readTotalMultiplier, quint32 readTotalConstant) {
    close();

    // Created here so that it lives in the thread that does the exchange.
    auto candidate = std::make_unique<QSerialPort>();
    candidate->setPortName(devicePathForPort(portName));
    // QSerialPort takes a lock file for the device, so a second open fails, from any program.
    if (!candidate->open(QIODevice::ReadWrite)) {
        qDebug("unable to open comport");
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
    if (port->write(&c, 1) != 1)
        return false;
    // The driver takes the byte at once and sends it when the line is free: a whole text written
    // in a burst takes its line time after the last write returned.
    lineBusyUntil = std::max(std::chrono::steady_clock::now(), lineBusyUntil) + byteTimeOnLine;
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

bool SerialPort::readByte(char &c) {
    if (!port)
        return false;
    const auto waitFrom = std::max(std::chrono::steady_clock::now(), lineBusyUntil);
    const QDeadlineTimer deadline(waitFrom + std::chrono::milliseconds(readTimeoutMs));
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

void SerialPort::close() {
    if (!port)
        return;
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
    QSerialPort candidate;
    candidate.setPortName(devicePathForPort(portName));
    if (!candidate.open(QIODevice::ReadWrite))
        return false;
    candidate.close();
    return true;
}

bool SerialPort::stopRequested() const {
    return stopFlag && stopFlag->load();
}
