#pragma once

#include <QFile>
#include <QString>

#include <poll.h>
#include <pty.h>
#include <sys/inotify.h>
#include <unistd.h>

// Watches a file for being opened by anyone, from the watch's start.
class OpenWatch {
public:
    explicit OpenWatch(const QString &path)
        : fd(::inotify_init1(IN_NONBLOCK | IN_CLOEXEC)),
          valid(fd >= 0 && ::inotify_add_watch(fd, QFile::encodeName(path).constData(), IN_OPEN) >= 0) {}
    ~OpenWatch() {
        if (fd >= 0)
            ::close(fd);
    }
    OpenWatch(const OpenWatch &) = delete;
    OpenWatch &operator=(const OpenWatch &) = delete;

    bool isValid() const { return valid; }
    // Whether the file has been opened, waiting up to waitMs for it.
    bool opened(int waitMs = 0) {
        pollfd ready{fd, POLLIN, 0};
        char events[4096];
        seen = seen || (::poll(&ready, 1, waitMs) == 1 && ::read(fd, events, sizeof events) > 0);
        return seen;
    }

private:
    int fd;
    bool valid;
    bool seen = false;
};

// A pseudo-terminal made by the test and watched for being opened from then on: opening a
// terminal raises its DTR and RTS, which resets many boards.
class WatchedTerminal {
public:
    WatchedTerminal() : made(::openpty(&master, &slave, name, nullptr, nullptr) == 0), watch(name) {}
    ~WatchedTerminal() {
        if (made) {
            ::close(master);
            ::close(slave);
        }
    }
    WatchedTerminal(const WatchedTerminal &) = delete;
    WatchedTerminal &operator=(const WatchedTerminal &) = delete;

    bool isValid() const { return made && watch.isValid(); }
    // Puts a link to the terminal at path.
    bool linkAt(const QString &path) const { return QFile::link(QFile::decodeName(name), path); }
    bool opened() { return watch.opened(); }

private:
    int master = -1;
    int slave = -1;
    char name[128] = {};
    bool made;
    OpenWatch watch; // after openpty, whose own open of the terminal is not the code's
};
