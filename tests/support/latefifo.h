#pragma once

#include <QFile>
#include <QString>

#include <chrono>
#include <thread>

#include <fcntl.h>
#include <unistd.h>

// Opening a FIFO for reading waits for a writer, for ever if none comes. This writer comes a few
// seconds on (opening without waiting, so that it never blocks itself) and leaves at once: code that
// opens the FIFO then fails its time limit instead of hanging the test. At anything else but a FIFO
// with a reader, the late open does nothing.
inline std::jthread releaseFifoLater(const QString &path) {
    return std::jthread([path = QFile::encodeName(path)](std::stop_token stop) {
        for (int waited = 0; waited < 3000 && !stop.stop_requested(); waited += 10)
            std::this_thread::sleep_for(std::chrono::milliseconds(10));
        const int fd = stop.stop_requested() ? -1 : ::open(path.constData(), O_WRONLY | O_NONBLOCK);
        if (fd >= 0)
            ::close(fd);
    });
}
