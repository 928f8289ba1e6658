#include "savefile.h"

#include "smsfile.h"

#include <QFile>
#include <QFileInfo>
#include <QSaveFile>
#include <QTextStream>

#include <algorithm>
#include <vector>

#include <sys/stat.h>
#include <unistd.h>

namespace SaveFile {

namespace {

bool statOf(const QString &path, struct stat *status) {
    return ::stat(QFile::encodeName(path).constData(), status) == 0;
}

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

bool writeLines(QFileDevice &file, const QStringList &lines) {
    QTextStream out(&file);
    out.setEncoding(QStringConverter::System);
    SmsFile::write(out, lines);
    out.flush();
    return out.status() == QTextStream::Ok;
}

// Replaces the contents of the existing file, as a plain write does: a failure partway leaves it
// cut short.
bool writeInPlace(const QString &path, const QStringList &lines) {
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate | QIODevice::ExistingOnly))
        return false;
    const bool written = writeLines(file, lines);
    file.close();
    return written && file.error() == QFileDevice::NoError;
}

// Gives the open temporary file the owner and group of the file it replaces, where they differ
// (QSaveFile copies only the permissions).
bool takeOwnerOf(int fd, const struct stat &replaced) {
    struct stat own {};
    if (fstat(fd, &own) != 0)
        return false;
    return (own.st_uid == replaced.st_uid && own.st_gid == replaced.st_gid) ||
           fchown(fd, replaced.st_uid, replaced.st_gid) == 0;
}

// A write that fails partway (a full disk) leaves the old file as it was.
bool writeReplacing(const QString &path, const QStringList &lines) {
    struct stat replaced {};
    const bool exists = statOf(path, &replaced);
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly))
        return false;
    if (exists && !takeOwnerOf(file.handle(), replaced)) {
        // The owner could not be given after all (no right to): keep the file's own.
        file.cancelWriting();
        return writeInPlace(path, lines);
    }
    if (!writeLines(file, lines)) {
        file.cancelWriting();
        return false;
    }
    return file.commit();
}

} // namespace

Method methodFor(const QString &path) {
    struct stat status {};
    // Nothing there (or nothing reachable): a new file, whose making reports any fault.
    if (!statOf(path, &status))
        return Method::Replace;
    if (!S_ISREG(status.st_mode))
        return Method::Refuse;
    if (status.st_nlink == 1 && canGiveOwnerOf(status) && folderWritable(path))
        return Method::Replace;
    return Method::InPlace;
}

bool writeSmsFile(const QString &path, const QStringList &lines) {
    switch (methodFor(path)) {
    case Method::Replace:
        return writeReplacing(path, lines);
    case Method::InPlace:
        return writeInPlace(path, lines);
    case Method::Refuse:
        break;
    }
    return false;
}

} // namespace SaveFile
