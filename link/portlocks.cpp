#include "portlocks.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStandardPaths>

#include <cerrno>
#include <fcntl.h>
#include <signal.h>
#include <sys/file.h>
#include <sys/ioctl.h>
#include <unistd.h>

namespace {

// More than any lock file's first line.
constexpr qint64 lockFileReadLimit = 256;

QString resolved(const QString &devicePath) {
    const QString canonicalPath = QFileInfo(devicePath).canonicalFilePath();
    return canonicalPath.isEmpty() ? devicePath : canonicalPath;
}

} // namespace

namespace PortLocks {

QStringList lockFolders() {
    // QSerialPort's own list, in its order.
    const QStringList candidates{QStringLiteral("/var/lock"),
                                 QStringLiteral("/etc/locks"),
                                 QStringLiteral("/var/spool/locks"),
                                 QStringLiteral("/var/spool/uucp"),
                                 QStringLiteral("/tmp"),
                                 QStringLiteral("/var/tmp"),
                                 QStringLiteral("/var/lock/lockdev"),
                                 QStringLiteral("/run/lock"),
                                 QStandardPaths::writableLocation(QStandardPaths::TempLocation)};
    QStringList folders;
    QStringList seen; // /var/lock is a link to /run/lock on Debian
    for (const QString &candidate : candidates) {
        const QFileInfo folder(candidate);
        if (candidate.isEmpty() || !folder.isDir() || seen.contains(folder.canonicalFilePath()))
            continue;
        seen << folder.canonicalFilePath();
        folders << candidate;
    }
    return folders;
}

QStringList lockFileNames(const QString &devicePath) {
    QString belowDev = devicePath.startsWith(QLatin1String("/dev/")) ? devicePath.mid(5) : devicePath;
    belowDev.replace(QLatin1Char('/'), QLatin1Char('_'));
    QStringList names{belowDev};
    const QString lastComponent = QFileInfo(devicePath).fileName();
    if (!lastComponent.isEmpty() && lastComponent != belowDev)
        names << lastComponent;
    return names;
}

pid_t lockFileOwner(const QByteArray &contents) {
    // Read as the tools read it (sscanf's "%d"): blanks, then digits, whatever follows.
    qsizetype at = 0;
    while (at < contents.size() && (contents[at] == ' ' || contents[at] == '\t'))
        ++at;
    qint64 pid = 0;
    int digits = 0;
    for (; at < contents.size() && contents[at] >= '0' && contents[at] <= '9'; ++at) {
        if (++digits > 10)
            return 0;
        pid = pid * 10 + (contents[at] - '0');
    }
    // Linux hands out no PID above 2^22.
    return pid <= 0x3fffffff ? pid_t(pid) : 0;
}

bool isProcessAlive(pid_t pid) {
    // EPERM: it exists, but belongs to another user.
    return pid > 0 && (::kill(pid, 0) == 0 || errno == EPERM);
}

bool isLockedByFile(const QString &devicePath, const QStringList &folders) {
    const QStringList names = lockFileNames(resolved(devicePath));
    for (const QString &folder : folders) {
        for (const QString &name : names) {
            QFile lockFile(QDir(folder).filePath(QStringLiteral("LCK..") + name));
            if (!lockFile.exists())
                continue;
            if (!lockFile.open(QIODevice::ReadOnly))
                return true; // someone's lock that this user cannot judge
            const pid_t owner = lockFileOwner(lockFile.read(lockFileReadLimit));
            if (owner != ::getpid() && isProcessAlive(owner))
                return true;
        }
    }
    return false;
}

Holder holderOfDescriptor(int fd) {
    int exclusive = 0;
    if (::ioctl(fd, TIOCGEXCL, &exclusive) == 0 && exclusive != 0)
        return Holder::ExclusiveMode;
    if (::flock(fd, LOCK_EX | LOCK_NB) != 0)
        return errno == EWOULDBLOCK ? Holder::BsdLock : Holder::None;
    ::flock(fd, LOCK_UN);
    return Holder::None;
}

} // namespace PortLocks

PortCheck::PortCheck(const QString &devicePath, const QStringList &lockFolders) {
    const QString device = resolved(devicePath);
    // A held lock file is enough: the device is not even opened.
    if (PortLocks::isLockedByFile(device, lockFolders)) {
        found = PortLocks::Holder::LockFile;
        return;
    }
    fd = ::open(QFile::encodeName(device).constData(), O_RDWR | O_NOCTTY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0) {
        // The kernel refuses a terminal in exclusive mode to every user but root.
        if (errno == EBUSY)
            found = PortLocks::Holder::ExclusiveMode;
        return;
    }
    found = PortLocks::holderOfDescriptor(fd);
}

PortCheck::~PortCheck() {
    if (fd >= 0)
        ::close(fd);
}
