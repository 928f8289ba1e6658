#include "pseudoterminal.h"

#include <QDir>
#include <QFile>

#include <poll.h>
#include <pty.h>
#include <sys/ioctl.h>
#include <sys/stat.h>
#include <termios.h>
#include <unistd.h>

PublishedTerminal::PublishedTerminal(const QString &portName) {
    char name[128] = {};
    if (!folder.isValid() || ::openpty(&master, &slave, name, nullptr, nullptr) != 0)
        return;
    termios raw{};
    ::tcgetattr(slave, &raw);
    ::cfmakeraw(&raw);
    ::tcsetattr(slave, TCSANOW, &raw);
    if (!QFile::link(QFile::decodeName(name), QDir(folder.path()).filePath(portName)))
        return;
    qputenv("DOWNLOADER_PORT_DIR", QFile::encodeName(folder.path()));
    device = QFile::decodeName(name);
}

PublishedTerminal::~PublishedTerminal() {
    if (master >= 0)
        ::close(master);
    if (slave >= 0)
        ::close(slave);
}

bool PublishedTerminal::openToEveryone() {
    return ::fchmod(slave, 0666) == 0 && ::chmod(QFile::encodeName(folder.path()).constData(), 0755) == 0;
}

bool PublishedTerminal::reportDiscards() {
    int on = 1;
    packetMode = ::ioctl(master, TIOCPKT, &on) == 0;
    return packetMode;
}

QByteArray PublishedTerminal::readAll() const {
    QByteArray bytes;
    pollfd ready{master, POLLIN, 0};
    char buffer[4096];
    while (::poll(&ready, 1, 200) == 1) {
        const ssize_t count = ::read(master, buffer, sizeof buffer);
        if (count <= 0)
            break;
        if (!packetMode) {
            bytes.append(buffer, count);
            continue;
        }
        // Each packet starts with a status byte: TIOCPKT_DATA before data, flags alone otherwise.
        if (buffer[0] == TIOCPKT_DATA)
            bytes.append(buffer + 1, count - 1);
        else if (buffer[0] & TIOCPKT_FLUSHWRITE)
            discarded = true;
    }
    return bytes;
}
