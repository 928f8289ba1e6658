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
//
// Writes keep pace with the line. A Linux serial driver takes kilobytes at once and sends them
// long after the write returned, and neither a pseudo-terminal nor most USB adapters say how much
// is still queued; so each write waits, by the clock, until the line has carried all but the last
// of the bytes before it. What the program has written has then (nearly) reached the module,
// progress follows the wire, and a stop leaves almost nothing behind to discard.
class SerialPort {
public:
    SerialPort();
    ~SerialPort();
    SerialPort(const SerialPort &) = delete;
    SerialPort &operator=(const SerialPort &) = delete;

    bool open(const QString &portName, quint32 readTotalMultiplier, quint32 readTotalConstant);
    // Returns whether the byte went out. It first waits until the line is at most one byte
    // behind; a stop requested meanwhile ends the wait, and the byte is not written.
    bool writeByte(char c);
    // True with the byte in c; false after the read time-out (or a failure), c unchanged. The
    // time-out counts from the start of the read.
    bool readByte(char &c);
    // Discards what the driver has not sent yet, waits until the line has carried the bytes
    // already on their way (at most two byte times, and a 2 ms guard), and closes the port if it
    // is open; harmless when closed, and without a wait when nothing is on its way.
    void close();
    bool isOpen() const;

    // While a read waits, it also gives up soon after *stop becomes true.
    void setStopFlag(const std::atomic_bool *stop);

    // Whether the port is free: no other program holds it (see PortCheck) and it could be opened
    // exclusively right now; it is closed again at once.
    static bool probe(const QString &portName);

    // Ten bit times (start, 8 data, stop) at 1200 baud, rounded up.
    static constexpr std::chrono::microseconds byteTimeAt1200Baud{8334};
    // The time one byte takes on the line: byteTimeAt1200Baud. Test fixtures shorten it for the
    // cases that are not about pace; the program never changes it.
    static std::chrono::microseconds byteTime();
    static void setByteTime(std::chrono::microseconds time);

private:
    bool stopRequested() const;
    // Waits until the line is at most one byte behind; false when a stop cut the wait.
    bool waitForLine();
    // Hands what was written over to the driver; false when a stop or a failure cut it short.
    bool handOver();

    std::unique_ptr<QSerialPort> port;
    int readTimeoutMs = 0;
    // When the line will have carried the last byte written, counted from when it was handed over.
    std::chrono::steady_clock::time_point lineBusyUntil;
    const std::atomic_bool *stopFlag = nullptr;
};
