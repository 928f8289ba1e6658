#pragma once

#include <QString>
#include <QtGlobal>

#include <atomic>
#include <chrono>
#include <memory>

class QSerialPort;

// One serial port, used synchronously by the thread that opened it: 1200 baud 8N1, exclusive,
// single-byte reads that wait at most multiplier + constant ms. Set-up failures are written to
// the debug output; callers decide what the user sees.
class SerialPort {
public:
    SerialPort();
    ~SerialPort();
    SerialPort(const SerialPort &) = delete;
    SerialPort &operator=(const SerialPort &) = delete;

    bool open(const QString &portName, quint32 readTotalMultiplier, quint32 readTotalConstant);
    // Returns whether the byte went out; it has left our buffers when this returns, but the line
    // still needs its ten bit times to carry it.
    bool writeByte(char c);
    // True with the byte in c; false after the read time-out (or a failure), c unchanged. The
    // time-out counts from when the line has carried every byte written, as the module cannot
    // answer what it has not yet received.
    bool readByte(char &c);
    // Closes the port if it is open; harmless when closed.
    void close();
    bool isOpen() const;

    // While a read waits, it also gives up soon after *stop becomes true.
    void setStopFlag(const std::atomic_bool *stop);

    // Whether the port could be opened exclusively right now; it is closed again at once.
    static bool probe(const QString &portName);

private:
    bool stopRequested() const;

    std::unique_ptr<QSerialPort> port;
    int readTimeoutMs = 0;
    // When the last byte written will have left the line.
    std::chrono::steady_clock::time_point lineBusyUntil;
    const std::atomic_bool *stopFlag = nullptr;
};
