#include "regularfile.h"

#include <QFile>

#include <algorithm>
#include <cerrno>
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
    // The name is judged before anything is opened: opening a terminal raises its DTR and RTS, and
    // closing it drops them, which resets many boards.
    struct stat named {};
    if (::stat(name.constData(), &named) != 0) {
        failed();
        return file;
    }
    if (!S_ISREG(named.st_mode)) {
        file.status = named;
        file.outcome = Outcome::NotRegular;
        return file;
    }
    // Something else may take the name in between: opened without waiting, and judged again.
    file.fd = ::open(name.constData(), accessMode | O_NONBLOCK | O_NOCTTY | O_CLOEXEC);
    if (file.fd < 0) {
        failed();
        return file;
    }
    if (::fstat(file.fd, &file.status) != 0) {
        file.error = errno;
        file.outcome = Outcome::Unopenable;
    } else if (!S_ISREG(file.status.st_mode) || file.status.st_dev != named.st_dev ||
               file.status.st_ino != named.st_ino) {
        file.outcome = Outcome::NotRegular;
    } else {
        // Reads and writes of a regular file never wait anyway; the flag goes so that nothing
        // downstream sees EAGAIN.
        const int flags = ::fcntl(file.fd, F_GETFL);
        if (flags >= 0 && ::fcntl(file.fd, F_SETFL, flags & ~O_NONBLOCK) == 0) {
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
        if (read == 0) // cut short since it was judged
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
