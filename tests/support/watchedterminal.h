#pragma once

#include "openwatch.h"

#include <QFile>
#include <QString>

#include <pty.h>
#include <unistd.h>

// A pseudo-terminal made by the test and watched for being opened from then on: opening a
// terminal raises its DTR and RTS, which resets many boards.
class WatchedTerminal {
public:
    // The watch starts after openpty, whose own open of the terminal is not the code's.
    WatchedTerminal() : made(::openpty(&master, &slave, name, nullptr, nullptr) == 0), watch(name) {}
    ~WatchedTerminal() {
        for (int fd : {master, slave}) {
            if (fd >= 0)
                ::close(fd);
        }
    }
    WatchedTerminal(const WatchedTerminal &) = delete;
    WatchedTerminal &operator=(const WatchedTerminal &) = delete;

    bool isValid() const { return made && watch.isValid(); }
    // Puts a link to the terminal at path.
    bool linkAt(const QString &path) const { return QFile::link(QFile::decodeName(name), path); }
    bool opened() const { return watch.opened(); }

private:
    int master = -1;
    int slave = -1;
    char name[128] = {};
    bool made;
    OpenWatch watch;
};
