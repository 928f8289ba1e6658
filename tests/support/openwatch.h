#pragma once

#include <QByteArray>

#include <poll.h>
#include <sys/inotify.h>
#include <unistd.h>

// Watches (inotify) the file at path, links followed, for being opened from now on: seen, not
// timed, so that it holds on a busy machine.
class OpenWatch {
public:
    explicit OpenWatch(const QByteArray &path)
        : watch(::inotify_init1(IN_NONBLOCK | IN_CLOEXEC)),
          made(watch >= 0 && ::inotify_add_watch(watch, path.constData(), IN_OPEN) >= 0) {}
    ~OpenWatch() {
        if (watch >= 0)
            ::close(watch);
    }
    OpenWatch(const OpenWatch &) = delete;
    OpenWatch &operator=(const OpenWatch &) = delete;

    bool isValid() const { return made; }
    bool opened() const {
        pollfd ready{watch, POLLIN, 0};
        return ::poll(&ready, 1, 0) == 1;
    }

private:
    int watch;
    bool made;
};
