#include "savefile.h"

#include "regularfile.h"
#include "smsfile.h"

#include <QFile>
#include <QFileInfo>
#include <QSaveFile>
#include <QTextStream>

#include <algorithm>
#include <cerrno>
#include <vector>

#include <fcntl.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/xattr.h>
#include <unistd.h>

namespace SaveFile {

namespace {

enum class Method { Replace, InPlace, Refuse };

bool isOwnGroup(gid_t group) {
    if (group == getegid())
        return true;
    const int count = getgroups(0, nullptr);
    if (count <= 0)
        return false;
    std::vector<gid_t> groups(count);
    const int got = getgroups(count, groups.data());
    return got > 0 && std::find(groups.begin(), groups.begin() + got, group) != groups.begin() + got;
}

// Whether a file this process makes can be given that owner and group: root can give any, a user
// only their own uid and a group they are in.
bool canGiveOwnerOf(const struct stat &status) {
    return geteuid() == 0 || (status.st_uid == geteuid() && isOwnGroup(status.st_gid));
}

// Whether a temporary file can be made beside the file that the path's links lead to.
bool folderWritable(const QString &path) {
    const QString folder = QFileInfo(QFileInfo(path).canonicalFilePath()).absolutePath();
    return ::access(QFile::encodeName(folder).constData(), W_OK | X_OK) == 0;
}

// Extended attributes, a POSIX ACL among them, that a new file would not carry.
bool hasExtendedAttributes(int fd) {
    return ::flistxattr(fd, nullptr, 0) > 0;
}

Method methodFor(const RegularFile::File &file, const QString &path) {
    switch (file.outcome) {
    case RegularFile::Outcome::Missing:
        return Method::Replace; // a new file, whose making reports any fault
    case RegularFile::Outcome::NotRegular:
    case RegularFile::Outcome::Unopenable:
        return Method::Refuse;
    case RegularFile::Outcome::Opened:
        break;
    }
    if (file.status.st_nlink == 1 && canGiveOwnerOf(file.status) && !hasExtendedAttributes(file.fd) &&
        folderWritable(path))
        return Method::Replace;
    return Method::InPlace;
}

QByteArray encoded(const QStringList &lines) {
    QByteArray bytes;
    QTextStream out(&bytes, QIODevice::WriteOnly);
    out.setEncoding(QStringConverter::System);
    SmsFile::write(out, lines);
    out.flush();
    return bytes;
}

bool writeFromStart(int fd, const QByteArray &bytes) {
    qsizetype done = 0;
    while (done < bytes.size()) {
        const ssize_t written = ::pwrite(fd, bytes.constData() + done, size_t(bytes.size() - done), off_t(done));
        if (written < 0 && errno == EINTR)
            continue;
        if (written <= 0)
            return false;
        done += written;
    }
    return true;
}

// Replaces the contents of the opened file where it stands. The room for all of them is reserved
// before the old ones are touched: without it (a full disk, a quota, a file that may not grow) the
// file stays as it was. Where a write can fail all the same (a copy-on-write file system), the
// failure is reported.
bool writeInPlace(const RegularFile::File &file, const QByteArray &bytes) {
    // A length past the process's file-size limit is refused before the file is touched: even a
    // reservation that gets nothing sets the file's time on ext4, and only its owner may set it back.
    rlimit limit{};
    if (::getrlimit(RLIMIT_FSIZE, &limit) == 0 && limit.rlim_cur != RLIM_INFINITY &&
        rlim_t(bytes.size()) > limit.rlim_cur)
        return false;
    // Where the file system cannot reserve room itself, the C library's reservation reads before it
    // writes: a file open for writing only is refused unless the file system reserves it.
    const bool readable = (::fcntl(file.fd, F_GETFL) & O_ACCMODE) == O_RDWR;
    if (readable ? posix_fallocate(file.fd, 0, bytes.size()) != 0 : ::fallocate(file.fd, 0, 0, bytes.size()) != 0) {
        // A reservation that runs out partway can still lengthen the file (ext4 does, to the end of
        // the last block it got) and set its time: each is put back only where it changed, the time
        // where the user may set it. A cut sets the time too, which only the owner may set back.
        struct stat now {};
        const bool lengthened = ::fstat(file.fd, &now) != 0 || now.st_size != file.status.st_size;
        if (lengthened && ::ftruncate(file.fd, file.status.st_size) != 0)
            return false;
        const struct timespec old = file.status.st_mtim;
        if (lengthened || now.st_mtim.tv_sec != old.tv_sec || now.st_mtim.tv_nsec != old.tv_nsec) {
            const struct timespec times[] = {{0, UTIME_OMIT}, old};
            ::futimens(file.fd, times);
        }
        return false;
    }
    return writeFromStart(file.fd, bytes) && ::ftruncate(file.fd, bytes.size()) == 0 && ::fsync(file.fd) == 0;
}

// Gives the open temporary file the owner and group of the file it replaces. The owner goes
// before anything is written, as changing it clears set-id bits.
bool takeOwnerOf(int fd, const struct stat &replaced) {
    struct stat own {};
    if (fstat(fd, &own) != 0)
        return false;
    return (own.st_uid == replaced.st_uid && own.st_gid == replaced.st_gid) ||
           fchown(fd, replaced.st_uid, replaced.st_gid) == 0;
}

// A write that fails partway (a full disk) leaves the old file as it was. The new file takes the
// owner, group and mode bits of the one it replaces: QSaveFile copies only the permissions, and
// those as Qt sees them for the saving user (root's write access made a read-only file writable).
bool writeReplacing(const QString &path, const QByteArray &bytes, const RegularFile::File &replaced) {
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly))
        return false;
    if (replaced.isOpen() && !takeOwnerOf(file.handle(), replaced.status)) {
        // The owner could not be given after all (no right to): keep the file's own.
        file.cancelWriting();
        return writeInPlace(replaced, bytes);
    }
    // A write error met only when commit() flushes is not reported by it: flush first.
    if (file.write(bytes) != bytes.size() || !file.flush()) {
        file.cancelWriting();
        return false;
    }
    // The mode once written: a write by any user but root clears the set-id bits.
    if (replaced.isOpen() && fchmod(file.handle(), replaced.status.st_mode & 07777) != 0) {
        file.cancelWriting();
        return writeInPlace(replaced, bytes);
    }
    return file.commit();
}

} // namespace

bool writeSmsFile(const QString &path, const QStringList &lines) {
    const QByteArray bytes = encoded(lines);
    // Reading too where allowed, for the C library's reservation; a file that its user may write
    // but not read (mode 0200) is written all the same.
    RegularFile::File file = RegularFile::open(path, O_RDWR);
    if (file.outcome == RegularFile::Outcome::Unopenable && file.error == EACCES)
        file = RegularFile::open(path, O_WRONLY);
    switch (methodFor(file, path)) {
    case Method::Replace:
        return writeReplacing(path, bytes, file);
    case Method::InPlace:
        return writeInPlace(file, bytes);
    case Method::Refuse:
        break;
    }
    return false;
}

} // namespace SaveFile
