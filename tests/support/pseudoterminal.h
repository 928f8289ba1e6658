#pragma once

#include <QByteArray>
#include <QString>
#include <QTemporaryDir>

// A pseudo-terminal published as a port: a link named after it (COM1, ...) in a folder of its own,
// at which it points DOWNLOADER_PORT_DIR. Both sides stay open, as socat keeps them, and the line
// is raw; nobody reads the far end but the test.
class PublishedTerminal {
public:
    explicit PublishedTerminal(const QString &portName = QStringLiteral("COM1"));
    ~PublishedTerminal();
    PublishedTerminal(const PublishedTerminal &) = delete;
    PublishedTerminal &operator=(const PublishedTerminal &) = delete;

    bool isValid() const { return !device.isEmpty(); }
    QString devicePath() const { return device; }
    // Lets every user reach the folder and open the device.
    bool openToEveryone();
    // Everything that has reached the far end, read until it stays quiet for 200 ms.
    QByteArray readAll() const;
    // From now on the far end is told when the port's side discards what it has not carried yet
    // (the terminal's packet mode); readAll() then leaves those reports out, and this says whether
    // one came.
    bool reportDiscards();
    bool discardReported() const { return discarded; }

private:
    QTemporaryDir folder;
    int master = -1;
    int slave = -1;
    QString device;
    bool packetMode = false;
    mutable bool discarded = false;
};
