#pragma once

#include "openwatch.h"

#include <QFile>
#include <QString>

#include <chrono>
#include <optional>
#include <thread>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

// Opening a FIFO waits for its other end, for ever if none comes. For a FIFO at path (links
// followed), this watches for its being opened from now on, and comes as its other end (both ends,
// opened without waiting, and left at once) lateMs on: code that opens it is seen to, and one that
// waits for it fails its time limit instead of hanging the test. At anything else it does nothing.
class LateFifoEnd {
public:
    static constexpr int lateMs = 10000;

    explicit LateFifoEnd(const QString &path) {
        const QByteArray name = QFile::encodeName(path);
        struct stat status {};
        if (::stat(name.constData(), &status) != 0 || !S_ISFIFO(status.st_mode))
            return;
        watch.emplace(name);
        thread = std::jthread([name](std::stop_token stop) {
            for (int waited = 0; waited < lateMs && !stop.stop_requested(); waited += 10)
                std::this_thread::sleep_for(std::chrono::milliseconds(10));
            const int fd = stop.stop_requested() ? -1 : ::open(name.constData(), O_RDWR | O_NONBLOCK);
            if (fd >= 0)
                ::close(fd);
        });
    }

    bool isValid() const { return !watch || watch->isValid(); }
    // Whether the FIFO was opened before its late end came.
    bool opened() const { return watch && watch->opened(); }

private:
    std::optional<OpenWatch> watch;
    std::jthread thread;
};
