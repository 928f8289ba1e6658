#include "link/portlocks.h"
#include "link/serialport.h"
#include "support/portholder.h"
#include "support/pseudoterminal.h"

#include <QFile>
#include <QTemporaryDir>
#include <QTest>

#include <grp.h>
#include <pwd.h>
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

    void lockFileVerdicts_data() {
        QTest::addColumn<int>("folder");
        QTest::addColumn<QString>("name");
        QTest::addColumn<QByteArray>("contents");
        QTest::addColumn<bool>("locked");
        const QByteArray live = paddedPid(1);
        QTest::newRow("none") << 0 << QString() << QByteArray() << false;
        QTest::newRow("minicom's name, live process") << 0 << "LCK..pts_77" << live << true;
        QTest::newRow("cu's name, live process") << 0 << "LCK..77" << live << true;
        QTest::newRow("QSerialPort's lock, live process") << 0 << "LCK..pts_77" << QByteArray("1\ntool\nvm\n") << true;
        QTest::newRow("in the second folder") << 1 << "LCK..pts_77" << live << true;
        QTest::newRow("process gone") << 0 << "LCK..pts_77" << paddedPid(PortHolder::endedProcess()) << false;
        QTest::newRow("this process") << 0 << "LCK..pts_77" << paddedPid(::getpid()) << false;
        QTest::newRow("no PID in it") << 0 << "LCK..pts_77" << QByteArray("locked\n") << false;
        QTest::newRow("another device's") << 0 << "LCK..pts_7" << live << false;
    }

    // Lock files in two folders of a test's own, for /dev/pts/77.
    void lockFileVerdicts() {
        QFETCH(int, folder);
        QFETCH(QString, name);
        QFETCH(QByteArray, contents);
        QFETCH(bool, locked);
        QTemporaryDir first;
        QTemporaryDir second;
        const QStringList folders{first.path(), second.path()};
        if (!name.isEmpty()) {
            QFile lockFile(QDir(folders[folder]).filePath(name));
            QVERIFY(lockFile.open(QIODevice::NewOnly));
            lockFile.write(contents);
        }
        QCOMPARE(PortLocks::isLockedByFile(QStringLiteral("/dev/pts/77"), folders), locked);
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

        const pid_t child = ::fork();
        if (child == 0) {
            if (::geteuid() == 0) {
                const auto [uid, gid] = unusedIds();
                if (::setgroups(0, nullptr) != 0 || ::setresgid(gid, gid, gid) != 0 || ::setresuid(uid, uid, uid) != 0)
                    ::_exit(10);
            }
            if (PortCheck(terminal.devicePath()).holder() != Holder(holder))
                ::_exit(11);
            if (SerialPort::probe(QStringLiteral("COM1")) == held)
                ::_exit(12);
            SerialPort port;
            if (port.open(QStringLiteral("COM1"), 0, 100) == held)
                ::_exit(13);
            port.close(); // _exit runs no destructor
            ::_exit(0);
        }
        int status = -1;
        QCOMPARE(::waitpid(child, &status, 0), child);
        QVERIFY(WIFEXITED(status));
        // 11: the look saw another holder; 12: the probe disagreed; 13: the open disagreed.
        QCOMPARE(WEXITSTATUS(status), 0);

        QCOMPARE(lockFileContents(), lockBefore);
        QCOMPARE(PortCheck(terminal.devicePath()).holder(), Holder(holder));
        if (mode >= 0)
            QCOMPARE(other.finish(), 0);
    }
};

QTEST_GUILESS_MAIN(TestPortLocks)
#include "tst_portlocks.moc"
