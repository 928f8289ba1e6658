#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>

#include <sys/types.h>

// Whether another program holds a serial device. Linux serial tools keep each other out by three
// conventions, and QSerialPort follows only its own lock file; these look for all three on the
// device, without disturbing the holder:
// - a lock file "LCK..<name>" that names a live process (QSerialPort, minicom, cu), where the name
//   is that of the path the tool was given: the device itself or any link to it;
// - the terminal's exclusive mode, TIOCEXCL (QSerialPort, screen), which the kernel enforces for
//   every user but root;
// - a BSD lock, flock(), on the device (picocom, pyserial).
// Whether some process merely has the device open is no sign: socat, which makes virtual serial
// ports, keeps the device side of its pseudo-terminal open itself.
namespace PortLocks {

enum class Holder { None, LockFile, ExclusiveMode, BsdLock };

// The folders QSerialPort looks for lock files in, those that exist, each once.
QStringList lockFolders();

// The folders whose links give serial devices their other names: /dev/serial/by-id,
// /dev/serial/by-path and /dev itself. Test fixtures point them at folders of their own; the
// program never changes them.
QStringList aliasFolders();
void setAliasFolders(const QStringList &folders);

// Every name a tool may have been given for the device that path leads to: path itself and each
// link on the way from it to the device, the device, and each link directly in one of the alias
// folders that leads to the device.
QStringList deviceNames(const QString &path, const QStringList &aliasFolders = PortLocks::aliasFolders());

// The names the tools give the lock file of a device they were given by path: the path below
// /dev, or the whole path elsewhere, with '/' replaced by '_' ("pts_3", "serial_by-id_usb-...",
// "_home_tech_ports_COM1": QSerialPort, and minicom below /dev), and its last component ("3",
// "usb-...", "COM1": cu, and minicom elsewhere).
QStringList lockFileNames(const QString &path);

// The process a lock file names: the number that begins it, after any blanks
// ("      4242\n" from minicom and cu, "4242\nprogram\nhost\n" from QSerialPort); 0 for none.
pid_t lockFileOwner(const QByteArray &contents);

// Whether the process exists, whoever owns it.
bool isProcessAlive(pid_t pid);

// Whether a lock file named after one of the device names, in one of the folders, names a live
// process other than this one. A lock whose process is gone is stale and holds nothing; one that
// cannot be judged (unreadable, or not a regular file: a FIFO, a folder) holds, and is never
// waited on.
bool isLockedByFile(const QStringList &deviceNames, const QStringList &folders = lockFolders());

// Who holds the terminal open at fd, besides fd itself: its exclusive mode, or a BSD lock on it.
// A BSD lock taken to find out is released again.
Holder holderOfDescriptor(int fd);

} // namespace PortLocks

// A look at a serial device before this program opens it by path (a link to it, or the device
// itself): who holds it, if anyone. The look keeps a descriptor of its own on the device until it
// is destroyed, so that the program's own open follows before the device's last descriptor
// closes; that close would drop a real UART's modem lines in between. A device that cannot be
// opened at all reads as held by no one: the program's own open then fails by itself.
class PortCheck {
public:
    explicit PortCheck(const QString &path, const QStringList &lockFolders = PortLocks::lockFolders(),
                       const QStringList &aliasFolders = PortLocks::aliasFolders());
    ~PortCheck();
    PortCheck(const PortCheck &) = delete;
    PortCheck &operator=(const PortCheck &) = delete;

    // The device itself, links resolved: the path to hand QSerialPort, whose lock file is named
    // after the path it opens, so that it meets the lock of another program on the device.
    QString device() const { return devicePath; }
    PortLocks::Holder holder() const { return found; }
    bool isHeld() const { return found != PortLocks::Holder::None; }

private:
    QString devicePath;
    int fd = -1;
    PortLocks::Holder found = PortLocks::Holder::None;
};
