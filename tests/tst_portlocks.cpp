#include "link/portlocks.h"
#include "link/serialport.h"
#include "support/deadline.h"
#include "support/portholder.h"
#include "support/pseudoterminal.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

#include <functional>

#include <grp.h>
#include <pwd.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

using Mode = PortHolder::Mode;
using PortLocks::Holder;

namespace {

QByteArray paddedPid(pid_t pid) {
    return QByteArray::number(pid).rightJustified(10, ' ') + '\n';
}

// A uid and gid that no account uses.
std::pair<uid_t, gid_t> unusedIds() {
    for (uid_t id = 60000; id < 65000; ++id) {
        if (!::getpwuid(id) && !::getgrgid(id))
            return {id, gid_t(id)};
    }
    return {65000, 65000};
}

// Runs what in a child process, as a user other than root (one that no account uses, when the
// suite runs as root); its result, or -1 when the child could not become that user or ended
// otherwise.
int asNormalUser(const std::function<int()> &what) {
    const pid_t child = ::fork();
    if (child == 0) {
        if (::geteuid() == 0) {
            const auto [uid, gid] = unusedIds();
            if (::setgroups(0, nullptr) != 0 || ::setresgid(gid, gid, gid) != 0 || ::setresuid(uid, uid, uid) != 0)
                ::_exit(255);
        }
        ::_exit(what()); // _exit runs no destructor: what() closes what it opens
    }
    int status = -1;
    if (child < 0 || ::waitpid(child, &status, 0) != child || !WIFEXITED(status) || WEXITSTATUS(status) == 255)
        return -1;
    return WEXITSTATUS(status);
}

} // namespace

class TestPortLocks : public QObject {
    Q_OBJECT

private slots:
    void lockFileOwner_data() {
        QTest::addColumn<QByteArray>("contents");
        QTest::addColumn<int>("pid");
        QTest::newRow("minicom and cu: padded to ten") << QByteArray("      4242\n") << 4242;
        QTest::newRow("QSerialPort: PID, program, host") << QByteArray("4242\ndownloader\nvm\n") << 4242;
        QTest::newRow("PID followed by a name") << QByteArray("  4242 minicom root\n") << 4242;
        QTest::newRow("no line end") << QByteArray("4242") << 4242;
        QTest::newRow("empty") << QByteArray() << 0;
        QTest::newRow("words") << QByteArray("locked\n") << 0;
        QTest::newRow("negative") << QByteArray("-4242\n") << 0;
        QTest::newRow("beyond any PID") << QByteArray("99999999999\n") << 0;
        QTest::newRow("on the second line") << QByteArray("\n4242\n") << 0;
    }

    void lockFileOwner() {
        QFETCH(QByteArray, contents);
        QFETCH(int, pid);
        QCOMPARE(PortLocks::lockFileOwner(contents), pid_t(pid));
    }

    void lockFileNames_data() {
        QTest::addColumn<QString>("path");
        QTest::addColumn<QStringList>("names");
        QTest::newRow("pseudo-terminal") << "/dev/pts/3" << QStringList{"pts_3", "3"};
        QTest::newRow("device in /dev") << "/dev/ttyUSB0" << QStringList{"ttyUSB0"};
        QTest::newRow("by-id link") << "/dev/serial/by-id/usb-X_Serial_A5-if00-port0"
                                    << QStringList{"serial_by-id_usb-X_Serial_A5-if00-port0",
                                                   "usb-X_Serial_A5-if00-port0"};
        QTest::newRow("link outside /dev") << "/home/tech/ports/COM1" << QStringList{"_home_tech_ports_COM1", "COM1"};
    }

    void lockFileNames() {
        QFETCH(QString, path);
        QFETCH(QStringList, names);
        QCOMPARE(PortLocks::lockFileNames(path), names);
    }

    void lockFileVerdicts_data() {
        QTest::addColumn<int>("folder");
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("kind");
        QTest::addColumn<QByteArray>("contents");
        QTest::addColumn<bool>("locked");
        const QByteArray live = paddedPid(1);
        QTest::newRow("none") << 0 << QString() << "file" << QByteArray() << false;
        QTest::newRow("minicom's name, live process") << 0 << "LCK..pts_77"
                                                      << "file" << live << true;
        QTest::newRow("cu's name, live process") << 0 << "LCK..77"
                                                 << "file" << live << true;
        QTest::newRow("QSerialPort's lock, live process") << 0 << "LCK..pts_77"
                                                          << "file" << QByteArray("1\ntool\nvm\n") << true;
        QTest::newRow("in the second folder") << 1 << "LCK..pts_77"
                                              << "file" << live << true;
        QTest::newRow("process gone") << 0 << "LCK..pts_77"
                                      << "file" << paddedPid(PortHolder::endedProcess()) << false;
        QTest::newRow("this process") << 0 << "LCK..pts_77"
                                      << "file" << paddedPid(::getpid()) << false;
        QTest::newRow("no PID in it") << 0 << "LCK..pts_77"
                                      << "file" << QByteArray("locked\n") << false;
        QTest::newRow("another device's") << 0 << "LCK..pts_7"
                                          << "file" << live << false;
        QTest::newRow("unreadable, as another user's") << 0 << "LCK..pts_77"
                                                       << "unreadable" << live << true;
        QTest::newRow("a FIFO") << 0 << "LCK..pts_77"
                                << "fifo" << QByteArray() << true;
        QTest::newRow("a folder") << 0 << "LCK..77"
                                  << "folder" << QByteArray() << true;
    }

    // Lock files in two folders of a test's own, for /dev/pts/77, judged at once whatever they are.
    // One that the user cannot read is judged by a normal user.
    void lockFileVerdicts() {
        QFETCH(int, folder);
        QFETCH(QString, name);
        QFETCH(QString, kind);
        QFETCH(QByteArray, contents);
        QFETCH(bool, locked);
        QTemporaryDir first;
        QTemporaryDir second;
        const QStringList folders{first.path(), second.path()};
        const QString path = QDir(folders[folder]).filePath(name);
        if (kind == "fifo") {
            QCOMPARE(::mkfifo(QFile::encodeName(path).constData(), 0644), 0);
        } else if (kind == "folder") {
            QVERIFY(QDir().mkdir(path));
        } else if (!name.isEmpty()) {
            QFile lockFile(path);
            QVERIFY(lockFile.open(QIODevice::NewOnly));
            lockFile.write(contents);
            lockFile.setPermissions(kind == "unreadable" ? QFile::Permissions() : lockFile.permissions());
        }
        const auto judge = [&folders] { return PortLocks::isLockedByFile({QStringLiteral("/dev/pts/77")}, folders); };
        const Deadline deadline(2000, "judging a lock file");
        if (kind == "unreadable") {
            QVERIFY(::chmod(QFile::encodeName(first.path()).constData(), 0755) == 0);
            QCOMPARE(asNormalUser([&judge] { return judge() ? 1 : 0; }), int(locked));
        } else {
            QCOMPARE(judge(), locked);
        }
    }

    // The lock file named after the whole path of a port link in a folder whose path is longer than
    // a file name may be cannot exist: it holds nothing, and the free port behind it is probed free
    // (the probe opens it).
    void freePortInALongFolderIsFree() {
        PublishedTerminal terminal;
        QVERIFY(terminal.isValid());
        QTemporaryDir top;
        QString folder = top.path();
        for (int level = 0; level < 3; ++level)
            folder += QLatin1Char('/') + QString(100, QLatin1Char('p'));
        QVERIFY(QDir().mkpath(folder));
        QVERIFY(QFile::link(terminal.devicePath(), folder + QStringLiteral("/COM1")));
        qputenv("DOWNLOADER_PORT_DIR", QFile::encodeName(folder));

        QVERIFY(SerialPort::probe(QStringLiteral("COM1")));
    }

    void asANormalUser_data() {
        QTest::addColumn<int>("mode");
        QTest::addColumn<bool>("held");
        QTest::addColumn<int>("holder");
        QTest::newRow("free") << -1 << false << int(Holder::None);
        QTest::newRow("QSerialPort") << int(Mode::Qt) << true << int(Holder::LockFile);
        QTest::newRow("minicom") << int(Mode::Minicom) << true << int(Holder::LockFile);
        QTest::newRow("cu") << int(Mode::Cu) << true << int(Holder::LockFile);
        QTest::newRow("picocom, pyserial") << int(Mode::Flock) << true << int(Holder::BsdLock);
        QTest::newRow("screen") << int(Mode::Exclusive) << true << int(Holder::ExclusiveMode);
    }

    // The program run by a user other than root, as it is meant to be (root passes the exclusive
    // mode and sees it by asking instead): the port held in each way is seen as held, is not
    // probed free and does not open, and the holder is left as it was.
    void asANormalUser() {
        QFETCH(int, mode);
        QFETCH(bool, held);
        QFETCH(int, holder);
        PublishedTerminal terminal;
        QVERIFY(terminal.isValid());
        QVERIFY(terminal.openToEveryone());
        PortHolder other;
        if (mode >= 0)
            QVERIFY(other.start(terminal.devicePath(), Mode(mode)));
        const auto lockFileContents = [&other] {
            QFile lockFile(other.lockFilePath());
            if (other.lockFilePath().isEmpty() || !lockFile.open(QIODevice::ReadOnly))
                return QByteArray();
            return lockFile.readAll();
        };
        const QByteArray lockBefore = lockFileContents();
        QCOMPARE(lockBefore.isEmpty(), other.lockFilePath().isEmpty());

        const int failed = asNormalUser([&terminal, held, holder] {
            if (PortCheck(terminal.devicePath()).holder() != Holder(holder))
                return 11;
            if (SerialPort::probe(QStringLiteral("COM1")) == held)
                return 12;
            SerialPort port;
            if (port.open(QStringLiteral("COM1"), 0, 100) == held)
                return 13;
            return 0;
        });
        // 11: the look saw another holder; 12: the probe disagreed; 13: the open disagreed.
        QCOMPARE(failed, 0);

        QCOMPARE(lockFileContents(), lockBefore);
        QCOMPARE(PortCheck(terminal.devicePath()).holder(), Holder(holder));
        if (mode >= 0)
            QCOMPARE(other.finish(), 0);
    }
};

QTEST_GUILESS_MAIN(TestPortLocks)
#include "tst_portlocks.moc"
