// Another program on a serial device, holding it the way one of the Linux serial tools does:
//   port_holder qt DEVICE                 QSerialPort: its lock file and the exclusive mode
//   port_holder minicom DEVICE LOCKFILE   a lock file, as minicom and cu write it
//   port_holder cu DEVICE LOCKFILE        the same
//   port_holder flock DEVICE              a BSD lock on the device, as picocom and pyserial take
//   port_holder exclusive DEVICE          the exclusive mode alone, as screen sets it
// DEVICE is the path the tool was given, the device or a link to it. The lock files hold the PID
// as "%10d\n" and are refused when one names a live process, as those tools do. It says "held" once it has the device,
// or "busy" and ends with 1 when the device is taken, and lets go when its standard input closes.
#include <QCoreApplication>
#include <QFile>
#include <QSerialPort>

#include <cerrno>
#include <csignal>
#include <cstdio>
#include <fcntl.h>
#include <iostream>
#include <string>
#include <sys/file.h>
#include <sys/ioctl.h>
#include <unistd.h>

namespace {

int busy() {
    std::cout << "busy" << std::endl;
    return 1;
}

void waitForRelease() {
    std::cout << "held" << std::endl;
    std::string line;
    std::getline(std::cin, line);
}

// False when the lock file names a live process; a stale one is removed.
bool takeLockFile(const QByteArray &path) {
    if (FILE *existing = std::fopen(path.constData(), "r")) {
        int pid = 0;
        const bool named = std::fscanf(existing, "%d", &pid) == 1;
        std::fclose(existing);
        if (!named || pid <= 0 || ::kill(pid, 0) == 0 || errno != ESRCH)
            return false;
        ::unlink(path.constData());
    }
    const int fd = ::open(path.constData(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0644);
    if (fd < 0)
        return false;
    const std::string contents = [] {
        char text[16];
        std::snprintf(text, sizeof text, "%10d\n", int(::getpid()));
        return std::string(text);
    }();
    const bool written = ::write(fd, contents.data(), contents.size()) == ssize_t(contents.size());
    ::close(fd);
    return written;
}

int openDevice(const QString &device) {
    return ::open(QFile::encodeName(device).constData(), O_RDWR | O_NOCTTY | O_NONBLOCK | O_CLOEXEC);
}

} // namespace

int main(int argc, char **argv) {
    QCoreApplication app(argc, argv);
    if (argc < 3)
        return 2;
    const QString mode = QString::fromLocal8Bit(argv[1]);
    const QString device = QString::fromLocal8Bit(argv[2]);

    if (mode == QLatin1String("qt")) {
        QSerialPort port(device);
        if (!port.open(QIODevice::ReadWrite))
            return busy();
        waitForRelease();
        return 0;
    }

    if (mode == QLatin1String("minicom") || mode == QLatin1String("cu")) {
        if (argc != 4)
            return 2;
        const QByteArray lockPath(argv[3]);
        if (!takeLockFile(lockPath))
            return busy();
        const int fd = openDevice(device);
        if (fd < 0) {
            ::unlink(lockPath.constData());
            return busy();
        }
        waitForRelease();
        ::close(fd);
        ::unlink(lockPath.constData());
        return 0;
    }

    const int fd = openDevice(device);
    if (fd < 0)
        return busy();
    if (mode == QLatin1String("flock")) {
        if (::flock(fd, LOCK_EX | LOCK_NB) != 0)
            return busy();
        waitForRelease();
    } else if (mode == QLatin1String("exclusive")) {
        if (::ioctl(fd, TIOCEXCL) != 0)
            return busy();
        waitForRelease();
        // A real device leaves exclusive mode with its last close; the test's pseudo-terminal stays
        // open on the module's side, so the mode is ended by hand.
        ::ioctl(fd, TIOCNXCL);
    } else {
        return 2;
    }
    ::close(fd);
    return 0;
}
