#pragma once

#include <QString>

#include <sys/types.h>

// Another program holding a serial device until finish(), the way one of the Linux serial tools
// does (tests/portholder). Started by fork and exec: QProcess's vfork-style start is not
// supported under ThreadSanitizer.
class PortHolder {
public:
    enum class Mode {
        Qt,        // QSerialPort: a lock file named as below and the exclusive mode
        Minicom,   // a lock file "LCK..pts_3" for /dev/pts/3, holding the PID
        Cu,        // a lock file "LCK..3" for /dev/pts/3, holding the PID
        Flock,     // a BSD lock on the device, as picocom and pyserial take
        Exclusive, // the exclusive mode alone, as screen sets it
    };
    static const char *modeName(Mode mode);

    PortHolder() = default;
    ~PortHolder() { finish(); }
    PortHolder(const PortHolder &) = delete;
    PortHolder &operator=(const PortHolder &) = delete;

    // Returns once the other program has the device; false when it found the device taken (it
    // then ends with 1) or could not start.
    bool start(const QString &devicePath, Mode mode = Mode::Qt);
    // The lock file that the other program writes in its mode, or empty in a mode without one.
    QString lockFilePath() const { return lockFile; }
    // Makes the other program let go of the device and end; returns its exit code.
    int finish();

    // A PID that names no process: one that has just ended (until the system hands it out again).
    static pid_t endedProcess();

private:
    pid_t pid = -1;
    int input = -1;
    int output = -1;
    QString lockFile;
};
