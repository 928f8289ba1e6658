#pragma once

#include <QByteArray>
#include <QElapsedTimer>
#include <QString>
#include <QTemporaryDir>

#include <termios.h>

#include <atomic>
#include <chrono>
#include <condition_variable>
#include <deque>
#include <map>
#include <mutex>
#include <optional>
#include <thread>
#include <utility>
#include <vector>

// A line a hundred times faster than 1200 baud, for the cases that are not about pace: with
// SerialPort::setByteTime(fastLineByteTime) the program's writes keep pace with it, and a download
// takes a tenth of a second.
constexpr std::chrono::microseconds fastLineByteTime{83};

// The GSM module at the far end of a pseudo-terminal. The program's side of the terminal is
// published as a link named after the port (COM1, COM12, ...) in a port folder; a test points
// DOWNLOADER_PORT_DIR at portDirectory() with qputenv before the program opens the port.
//
// The module runs in a thread of its own. It records every byte it receives and answers by
// script: on a command ('~' then the command byte) or on the n-th arrival of a byte since the
// last command, it sends a reply, at once or paced like a 1200-baud line, and may then vanish.
class SimulatedModule {
public:
    using Clock = std::chrono::steady_clock;

    // Time one byte takes on a 1200-baud 8N1 line (10 bits).
    static constexpr std::chrono::microseconds byteTime{8333};

    struct Reply {
        QByteArray bytes;
        bool paced = false;       // one byte every byteTime instead of all at once
        int delayMs = 0;          // quiet time before the first byte
        bool vanishAfter = false; // close the line once the program has read the bytes (or 500 ms later)
    };

    // Serves portName in directory, or in a temporary folder of its own when directory is empty.
    explicit SimulatedModule(const QString &portName = QStringLiteral("COM1"), const QString &directory = QString());
    ~SimulatedModule();
    SimulatedModule(const SimulatedModule &) = delete;
    SimulatedModule &operator=(const SimulatedModule &) = delete;

    bool isValid() const { return valid; }
    QString portName() const { return name; }
    // The folder holding the link: the value for DOWNLOADER_PORT_DIR.
    QString portDirectory() const { return directoryPath; }
    // The program's side of the terminal, which the link leads to.
    QString devicePath() const { return deviceName; }

    // Script. Each rule fires every time its trigger occurs; a later rule for the same trigger
    // replaces the earlier one. A command is '~' followed by the command byte wherever it occurs,
    // also inside data. Byte counts start again at each command.
    void onCommand(char command, const Reply &reply);
    void onByteCount(char byte, int count, const Reply &reply);
    // Closes the line as soon as byteCount bytes have arrived in all.
    void vanishAfterReceiving(int byteCount);
    // Takes the program's bytes off the line no faster than a 1200-baud line carries them: each
    // byte arrives one byteTime after the previous one, or after it was written if the line was
    // idle. The terminal itself accepts the program's writes at once, as a UART's transmit buffer
    // would. Off by default: then every byte arrives the moment it is written.
    void receiveAtLineSpeed(bool paced);
    // Sends bytes now, unasked.
    void send(const QByteArray &bytes, bool paced = false);

    // Every byte received so far, in order, and when each arrived.
    QByteArray received() const;
    // The bytes taken off the terminal so far: those received and those still on their way along
    // a paced line. What the program's port discards on closing is never taken.
    int bytesTaken() const;
    std::vector<Clock::time_point> arrivalTimes() const;
    int receivedCount(char byte) const;
    bool waitForReceived(int byteCount, int timeoutMs = 5000) const;
    bool waitForByteCount(char byte, int count, int timeoutMs = 5000) const;
    bool hasVanished() const;

    // The line settings of the terminal now, and as they were when the first byte arrived.
    termios lineSettings() const;
    std::optional<termios> lineSettingsAtFirstByte() const;

private:
    struct PendingByte {
        Clock::time_point due;
        char byte;
        bool vanishAfter;
    };
    struct IncomingByte {
        Clock::time_point due;
        char byte;
    };

    void serve();
    // Milliseconds until the next byte is due in either direction, -1 when none is.
    int millisecondsToNextDue(bool waitForRoom) const;
    void take(const char *bytes, qsizetype count);
    void deliverDueIncoming();
    void receive(char byte);
    void schedule(const Reply &reply);
    void vanish();
    bool drained() const;
    void wake();

    QString name;
    std::optional<QTemporaryDir> ownDirectory;
    QString directoryPath;
    QString linkPath;
    QString deviceName;
    bool valid = false;

    int masterFd = -1;
    int slaveFd = -1; // kept open so that the line settings persist between the program's opens
    int wakeFds[2] = {-1, -1};

    mutable std::mutex mutex;
    mutable std::condition_variable receivedChanged;
    QByteArray receivedBytes;
    std::vector<Clock::time_point> receivedTimes;
    std::optional<termios> firstByteSettings;
    std::map<char, Reply> commandReplies;
    std::map<std::pair<char, int>, Reply> countReplies;
    std::map<char, int> countsSinceCommand;
    bool afterTilde = false;
    int vanishAt = -1;
    bool vanished = false;
    std::optional<Clock::time_point> vanishWhenDrained; // the latest time to vanish at
    Clock::time_point lastWrite;
    std::deque<PendingByte> pending;
    Clock::time_point lastDue;
    bool pacedReceive = false;
    std::deque<IncomingByte> incoming; // written by the program, still on the line
    Clock::time_point lastIncomingDue;

    std::atomic_bool stopping{false};
    std::thread thread;
};

// The bytes a 1200-baud line can have carried since the clock started. Started before the program
// writes, it bounds from the program's own side what the program may have written: a test that runs
// late only sees more room, never a program ahead of the line.
inline int bytesCarriedSince(const QElapsedTimer &clock) {
    return int(std::chrono::nanoseconds(clock.nsecsElapsed()) / SimulatedModule::byteTime);
}
