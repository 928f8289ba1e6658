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
        Minicom,   // a lock file holding the PID, named as minicom names it (see lockFilePathFor)
        Cu,        // the same, named as cu names it
        Flock,     // a BSD lock on the device, as picocom and pyserial take
        Exclusive, // the exclusive mode alone, as screen sets it
    };
    static const char *modeName(Mode mode);

    PortHolder() = default;
    ~PortHolder() { finish(); }
    PortHolder(const PortHolder &) = delete;
    PortHolder &operator=(const PortHolder &) = delete;

    // Returns once the other program, given path (the device or a link to it), has the device;
    // false when it found the device taken (it then ends with 1) or could not start. A lock file is
    // written in lockFolder.
    bool start(const QString &path, Mode mode = Mode::Qt, const QString &lockFolder = QStringLiteral("/var/lock"));
    // The lock file that the other program writes in its mode, or empty in a mode without one.
    QString lockFilePath() const { return lockFile; }
    // Makes the other program let go of the device and end; returns its exit code.
    int finish();

    // The lock file that a tool given path writes in the folder, named as the tool names it:
    // minicom names it after the path below /dev with '/' replaced by '_' ("LCK..pts_3",
    // "LCK..serial_by-id_usb-..."), or after the last component of a path elsewhere; cu always
    // after the last component ("LCK..3"); QSerialPort after the path below /dev, or the whole path
    // elsewhere, '/' replaced by '_'. Empty in a mode without a lock file.
    static QString lockFilePathFor(const QString &path, Mode mode, const QString &folder = QStringLiteral("/var/lock"));

    // A PID that names no process: one that has just ended (until the system hands it out again).
    static pid_t endedProcess();

private:
    pid_t pid = -1;
    int input = -1;
    int output = -1;
    QString lockFile;
};
