#pragma once

#include <QFile>
#include <QString>

#include <poll.h>
#include <pty.h>
#include <sys/inotify.h>
#include <unistd.h>

// A pseudo-terminal made by the test and watched (inotify) for being opened from then on: opening a
// terminal raises its DTR and RTS, which resets many boards.
class WatchedTerminal {
public:
    WatchedTerminal() : made(::openpty(&master, &slave, name, nullptr, nullptr) == 0) {
        // Started after openpty, whose own open of the terminal is not the code's.
        watch = ::inotify_init1(IN_NONBLOCK | IN_CLOEXEC);
        made = made && watch >= 0 && ::inotify_add_watch(watch, name, IN_OPEN) >= 0;
    }
    ~WatchedTerminal() {
        for (int fd : {master, slave, watch}) {
            if (fd >= 0)
                ::close(fd);
        }
    }
    WatchedTerminal(const WatchedTerminal &) = delete;
    WatchedTerminal &operator=(const WatchedTerminal &) = delete;

    bool isValid() const { return made; }
    // Puts a link to the terminal at path.
    bool linkAt(const QString &path) const { return QFile::link(QFile::decodeName(name), path); }
    bool opened() const {
        pollfd ready{watch, POLLIN, 0};
        return ::poll(&ready, 1, 0) == 1;
    }

private:
    int master = -1;
    int slave = -1;
    int watch = -1;
    char name[128] = {};
    bool made;
};
