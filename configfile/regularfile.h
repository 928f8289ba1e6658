#pragma once

#include <QByteArray>
#include <QString>

#include <optional>

#include <sys/stat.h>

// Opening a file by name so that what is read or written is what was judged. The name is looked
// up first without opening what it names (O_PATH), and only a regular file is then opened, through
// that lookup's descriptor: opening a device has effects of its own (a terminal's control lines), a
// FIFO waits for its other end, and a name that changes in between changes nothing. Where /proc is
// missing, the name is opened again without waiting, and kept only when the descriptor shows the
// regular file that the lookup showed. Reads are bounded: never past the size the file had when it
// was opened, and never more than maxReadSize.
//
// open() says what stands at the path (outcome: a regular file, nothing, or something refused, and
// why); readHead() reads the first bytes of what it opened, readWhole() a small file whole.
namespace RegularFile {

constexpr qint64 maxReadSize = 1 << 20;

enum class Outcome {
    Opened,     // a regular file, open
    Missing,    // nothing at the path: ENOENT (a dangling link too) or ENOTDIR
    NotRegular, // a folder, a FIFO, a device, a socket: never opened; or, opened by name, not the file judged
    Unopenable, // something there could not be looked up or opened that way: error says why (EACCES, ELOOP...)
};

// What open() found. It owns the descriptor, and closes it when destroyed.
struct File {
    Outcome outcome = Outcome::Missing;
    int error = 0;         // errno of the failed lookup or open (Missing, Unopenable)
    struct stat status {}; // the opened file's (Opened; NotRegular: its type)
    int fd = -1;           // Opened only: blocking again, close-on-exec, no controlling terminal taken

    File() = default;
    File(File &&other) noexcept;
    File &operator=(File &&other) noexcept;
    File(const File &) = delete;
    File &operator=(const File &) = delete;
    ~File();

    bool isOpen() const { return outcome == Outcome::Opened; }
};

// Opens path, links followed, with accessMode O_RDONLY, O_WRONLY or O_RDWR; it never creates nor
// truncates a file.
File open(const QString &path, int accessMode);

// The file's first bytes: at most limit, at most the size it had when opened, at most maxReadSize.
// Nothing when it is not open or a read fails.
std::optional<QByteArray> readHead(const File &file, qint64 limit = maxReadSize);

// The whole file, read as readHead does; nothing also when it was larger than maxSize (or
// maxReadSize) when opened.
std::optional<QByteArray> readWhole(const File &file, qint64 maxSize = maxReadSize);

} // namespace RegularFile
