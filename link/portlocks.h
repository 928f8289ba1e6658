#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>

#include <sys/types.h>

// Whether another program holds a serial device. Linux serial tools keep each other out by three
// conventions, and QSerialPort follows only its own lock file; these look for all three on the
// device itself, links resolved, without disturbing the holder:
// - a lock file "LCK..<name>" that names a live process (QSerialPort, minicom, cu);
// - the terminal's exclusive mode, TIOCEXCL (QSerialPort, screen), which the kernel enforces for
//   every user but root;
// - a BSD lock, flock(), on the device (picocom, pyserial).
// Whether some process merely has the device open is no sign: socat, which makes virtual serial
// ports, keeps the device side of its pseudo-terminal open itself.
namespace PortLocks {

enum class Holder { None, LockFile, ExclusiveMode, BsdLock };

// The folders QSerialPort looks for lock files in, those that exist, each once.
QStringList lockFolders();

// The names the tools give a device's lock file: its path below /dev with '/' replaced by '_'
// ("pts_3", "ttyUSB0": QSerialPort and minicom) and its last component ("3": cu).
QStringList lockFileNames(const QString &devicePath);

// The process a lock file names: the number that begins it, after any blanks
// ("      4242\n" from minicom and cu, "4242\nprogram\nhost\n" from QSerialPort); 0 for none.
pid_t lockFileOwner(const QByteArray &contents);

// Whether the process exists, whoever owns it.
bool isProcessAlive(pid_t pid);

// Whether a lock file of the device in one of the folders names a live process other than this
// one. A lock whose process is gone is stale and holds nothing; one that cannot be read holds.
bool isLockedByFile(const QString &devicePath, const QStringList &folders = lockFolders());

// Who holds the terminal open at fd, besides fd itself: its exclusive mode, or a BSD lock on it.
// A BSD lock taken to find out is released again.
Holder holderOfDescriptor(int fd);

} // namespace PortLocks

// A look at a serial device before this program opens it: who holds it, if anyone. The look keeps
// a descriptor of its own on the device until it is destroyed, so that the program's own open
// follows before the device's last descriptor closes; that close would drop a real UART's modem
// lines in between. A device that cannot be opened at all reads as held by no one: the program's
// own open then fails by itself.
class PortCheck {
public:
    explicit PortCheck(const QString &devicePath, const QStringList &lockFolders = PortLocks::lockFolders());
    ~PortCheck();
    PortCheck(const PortCheck &) = delete;
    PortCheck &operator=(const PortCheck &) = delete;

    PortLocks::Holder holder() const { return found; }
    bool isHeld() const { return found != PortLocks::Holder::None; }

private:
    int fd = -1;
    PortLocks::Holder found = PortLocks::Holder::None;
};
