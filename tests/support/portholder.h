#pragma once

#include <QString>

#include <sys/types.h>

// Another program holding a serial device open with QSerialPort until finish(). Started by fork
// and exec: QProcess's vfork-style start is not supported under ThreadSanitizer.
class PortHolder {
public:
    PortHolder() = default;
    ~PortHolder() { finish(); }
    PortHolder(const PortHolder &) = delete;
    PortHolder &operator=(const PortHolder &) = delete;

    // Returns once the other program has the device open; false when it could not take it.
    bool start(const QString &devicePath);
    // Makes the other program let go of the device and end; returns its exit code.
    int finish();

private:
    pid_t pid = -1;
    int input = -1;
    int output = -1;
};
