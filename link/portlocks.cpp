#include "portlocks.h"

#include "configfile/regularfile.h"

#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QFileInfo>
#include <QMutex>
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

// More links than a path may pass through (the kernel's own limit).
constexpr int linkHopsAtMost = 40;

QString resolved(const QString &path) {
    const QString canonicalPath = QFileInfo(path).canonicalFilePath();
    return canonicalPath.isEmpty() ? path : canonicalPath;
}

QMutex aliasFolderMutex;
QStringList configuredAliasFolders{QStringLiteral("/dev/serial/by-id"), QStringLiteral("/dev/serial/by-path"),
                                   QStringLiteral("/dev")};

// Whether the lock file at path holds the device. Only a missing one holds nothing, and one whose
// name no file system can hold (a long port folder's whole path) is missing for good; one that is
// not a regular file (a FIFO, which would block a plain open, a folder, a device) or cannot be
// read holds, unread.
bool lockFileHolds(const QString &path) {
    const RegularFile::File lockFile = RegularFile::open(path, O_RDONLY);
    if ((lockFile.outcome == RegularFile::Outcome::Missing && lockFile.error == ENOENT) ||
        lockFile.error == ENAMETOOLONG)
        return false;
    const std::optional<QByteArray> contents = RegularFile::readHead(lockFile, lockFileReadLimit);
    if (!contents)
        return true;
    const pid_t owner = PortLocks::lockFileOwner(*contents);
    return owner != ::getpid() && PortLocks::isProcessAlive(owner);
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

QStringList aliasFolders() {
    const QMutexLocker lock(&aliasFolderMutex);
    return configuredAliasFolders;
}

void setAliasFolders(const QStringList &folders) {
    const QMutexLocker lock(&aliasFolderMutex);
    configuredAliasFolders = folders;
}

QStringList deviceNames(const QString &path, const QStringList &aliasFolders) {
    QStringList names;
    QString name = QDir::cleanPath(QFileInfo(path).absoluteFilePath());
    for (int hop = 0; hop <= linkHopsAtMost && !names.contains(name); ++hop) {
        names << name;
        const QFileInfo link(name);
        if (!link.isSymLink())
            break;
        name = link.symLinkTarget();
    }
    const QString device = QFileInfo(path).canonicalFilePath();
    if (device.isEmpty())
        return names;
    if (!names.contains(device))
        names << device;
    for (const QString &folder : aliasFolders) {
        QDirIterator entries(folder, QDir::AllEntries | QDir::System | QDir::Hidden | QDir::NoDotAndDotDot);
        while (entries.hasNext()) {
            entries.next();
            const QFileInfo alias = entries.fileInfo();
            if (alias.isSymLink() && alias.canonicalFilePath() == device && !names.contains(alias.filePath()))
                names << alias.filePath();
        }
    }
    return names;
}

QStringList lockFileNames(const QString &path) {
    QString flattened = path.startsWith(QLatin1String("/dev/")) ? path.mid(5) : path;
    flattened.replace(QLatin1Char('/'), QLatin1Char('_'));
    QStringList names{flattened};
    const QString lastComponent = QFileInfo(path).fileName();
    if (!lastComponent.isEmpty() && lastComponent != flattened)
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

bool isLockedByFile(const QStringList &deviceNames, const QStringList &folders) {
    QStringList names;
    for (const QString &deviceName : deviceNames) {
        for (const QString &name : lockFileNames(deviceName)) {
            if (!name.isEmpty() && !names.contains(name))
                names << name;
        }
    }
    for (const QString &folder : folders) {
        for (const QString &name : names) {
            if (lockFileHolds(QDir(folder).filePath(QStringLiteral("LCK..") + name)))
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

PortCheck::PortCheck(const QString &path, const QStringList &lockFolders, const QStringList &aliasFolders)
    : devicePath(resolved(path)) {
    // A held lock file is enough: the device is not even opened.
    if (PortLocks::isLockedByFile(PortLocks::deviceNames(path, aliasFolders), lockFolders)) {
        found = PortLocks::Holder::LockFile;
        return;
    }
    fd = ::open(QFile::encodeName(devicePath).constData(), O_RDWR | O_NOCTTY | O_NONBLOCK | O_CLOEXEC);
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
