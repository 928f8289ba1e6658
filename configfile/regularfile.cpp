#include "regularfile.h"

#include <QFile>
#include <QScopeGuard>

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <utility>

#include <fcntl.h>
#include <unistd.h>

namespace RegularFile {

File::File(File &&other) noexcept
    : outcome(other.outcome), error(other.error), status(other.status), fd(std::exchange(other.fd, -1)) {}

File &File::operator=(File &&other) noexcept {
    if (this != &other) {
        if (fd >= 0)
            ::close(fd);
        outcome = other.outcome;
        error = other.error;
        status = other.status;
        fd = std::exchange(other.fd, -1);
    }
    return *this;
}

File::~File() {
    if (fd >= 0)
        ::close(fd);
}

File open(const QString &path, int accessMode) {
    File file;
    const QByteArray name = QFile::encodeName(path);
    const auto failed = [&file] {
        file.error = errno;
        file.outcome = file.error == ENOENT || file.error == ENOTDIR ? Outcome::Missing : Outcome::Unopenable;
    };
    // The name is looked up without opening what it names: opening a terminal raises its DTR and
    // RTS, and closing it drops them, which resets many boards; a FIFO waits for its other end.
    const int judged = ::open(name.constData(), O_PATH | O_CLOEXEC);
    if (judged < 0) {
        failed();
        return file;
    }
    const auto closeJudged = qScopeGuard([judged] { ::close(judged); });
    struct stat named {};
    if (::fstat(judged, &named) != 0) {
        file.error = errno;
        file.outcome = Outcome::Unopenable;
        return file;
    }
    file.status = named;
    if (!S_ISREG(named.st_mode)) {
        file.outcome = Outcome::NotRegular;
        return file;
    }
    // Opened through the descriptor, it is the very file judged, whatever took the name since; the
    // access is checked as by any open. Without waiting all the same: another program's lease on
    // the file would hold the open until it let go.
    const int flags = accessMode | O_NONBLOCK | O_NOCTTY | O_CLOEXEC;
    char reopened[32];
    std::snprintf(reopened, sizeof reopened, "/proc/self/fd/%d", judged);
    file.fd = ::open(reopened, flags);
    // Without /proc the name is opened again, and kept only if it still shows the file judged.
    const bool byName = file.fd < 0 && errno == ENOENT;
    if (byName)
        file.fd = ::open(name.constData(), flags);
    if (file.fd < 0) {
        failed();
        return file;
    }
    // The opened file's own status: opened for writing on an overlay, a file of a lower layer is
    // copied up to a new one.
    if (::fstat(file.fd, &file.status) != 0) {
        file.error = errno;
        file.outcome = Outcome::Unopenable;
    } else if (!S_ISREG(file.status.st_mode) ||
               (byName && (file.status.st_dev != named.st_dev || file.status.st_ino != named.st_ino))) {
        file.outcome = Outcome::NotRegular;
    } else {
        // Reads and writes of a regular file never wait anyway; the flag goes so that nothing
        // downstream sees EAGAIN.
        const int openFlags = ::fcntl(file.fd, F_GETFL);
        if (openFlags >= 0 && ::fcntl(file.fd, F_SETFL, openFlags & ~O_NONBLOCK) == 0) {
            file.outcome = Outcome::Opened;
            return file;
        }
        file.error = errno;
        file.outcome = Outcome::Unopenable;
    }
    ::close(std::exchange(file.fd, -1));
    return file;
}

std::optional<QByteArray> readHead(const File &file, qint64 limit) {
    if (!file.isOpen())
        return std::nullopt;
    const qint64 wanted = std::max<qint64>(0, std::min({limit, qint64(file.status.st_size), maxReadSize}));
    QByteArray bytes(wanted, Qt::Uninitialized);
    qint64 got = 0;
    while (got < wanted) {
        const ssize_t read = ::pread(file.fd, bytes.data() + got, size_t(wanted - got), off_t(got));
        if (read < 0 && errno == EINTR)
            continue;
        if (read < 0)
            return std::nullopt;
        if (read == 0) // cut short since it was opened
            break;
        got += read;
    }
    bytes.truncate(got);
    return bytes;
}

std::optional<QByteArray> readWhole(const File &file, qint64 maxSize) {
    if (!file.isOpen() || file.status.st_size > std::min(maxSize, maxReadSize))
        return std::nullopt;
    return readHead(file, maxSize);
}

} // namespace RegularFile
