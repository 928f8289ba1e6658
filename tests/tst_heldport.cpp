#include "dialogs/setcom.h"
#include "link/dload.h"
#include "link/portlocks.h"
#include "link/portname.h"
#include "link/serialport.h"
#include "mainwindow/mainwindow.h"
#include "support/modal.h"
#include "support/portholder.h"
#include "support/sampleforms.h"
#include "support/simulatedmodule.h"
#include "support/transferdriver.h"
#include "texts/texts.h"

#include <QComboBox>
#include <QDialogButtonBox>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QPushButton>
#include <QTest>

#include <sys/stat.h>
#include <unistd.h>

using Mode = PortHolder::Mode;
using PortLocks::Holder;

namespace {

const QString downloadFailure = QStringLiteral("Download error.\nTip: check the device.");
const QString downloadSuccess = QStringLiteral("Download successful.");
const QString statusFailure = QStringLiteral("Cannot get status.\nCheck the device");

const Mode allModes[] = {Mode::Qt, Mode::Minicom, Mode::Cu, Mode::Flock, Mode::Exclusive};
const QStringList defaultAliasFolders = PortLocks::aliasFolders();

// A lock file named after the port's link ("LCK..COM30") holds that port name for every program on
// the machine, the other tests among them: a port that no other test uses.
const QString heldPort = QStringLiteral("COM30");
// Another of the program's ports, linked to the same device.
const QString otherPortName = QStringLiteral("COM29");

Holder holderSeenFor(Mode mode) {
    switch (mode) {
    case Mode::Flock:
        return Holder::BsdLock;
    case Mode::Exclusive:
        return Holder::ExclusiveMode;
    default:
        return Holder::LockFile;
    }
}

// A lock file as it stands: its contents and the file itself.
struct LockFileState {
    QByteArray contents;
    ino_t inode = 0;
    bool operator==(const LockFileState &) const = default;
};

LockFileState lockFileState(const QString &path) {
    LockFileState state;
    QFile file(path);
    if (!path.isEmpty() && file.open(QIODevice::ReadOnly))
        state.contents = file.readAll();
    struct stat status {};
    if (::stat(QFile::encodeName(path).constData(), &status) == 0)
        state.inode = status.st_ino;
    return state;
}

QStringList portsListed() {
    setcom dialog(heldPort, 1200);
    QStringList names;
    for (int i = 0; i < dialog.ui->comboBox->count(); ++i)
        names << dialog.ui->comboBox->itemText(i);
    return names;
}

} // namespace

// The port held by another program, in each of the ways the Linux serial tools hold a port: the port
// dialog leaves it out, every exchange fails at once without a byte on the line, and the holder is
// left exactly as it was. And the other way round: while a download has the port, the tools find
// it busy.
class TestHeldPort : public QObject, public TransferDriver::WindowOnModule {
    Q_OBJECT

    // A stable name of the device in an alias folder of the test's own, as /dev/serial/by-id/
    // gives one.
    QString aliasLink() const {
        return QDir(module->portDirectory()).filePath(QStringLiteral("by-id/usb-X_Serial_A5-if00-port0"));
    }

    // A name of the device that no alias folder holds: a link of the technician's own, in the
    // middle of the port link's chain.
    QString middleLink() const { return QDir(module->portDirectory()).filePath(QStringLiteral("own/adapter")); }

    // Points the port at the device, straight, through the alias link or through a link of the
    // technician's own that leads to the alias link, and gives the path the holder is given in the
    // set-up.
    void linkPortFor(const QString &setup, QString &holderPath) {
        const QString port = QDir(module->portDirectory()).filePath(heldPort);
        if (setup.startsWith(QLatin1String("port through"))) {
            QVERIFY(QFile::remove(port));
            if (setup.startsWith(QLatin1String("port through a link of its own"))) {
                QVERIFY(QDir().mkpath(QFileInfo(middleLink()).path()));
                QVERIFY(QFile::link(aliasLink(), middleLink()));
                QVERIFY(QFile::link(middleLink(), port));
            } else {
                QVERIFY(QFile::link(aliasLink(), port));
            }
            QCOMPARE(QFileInfo(port).canonicalFilePath(), module->devicePath());
        }
        const QString otherPort = QDir(module->portDirectory()).filePath(otherPortName);
        if (setup.contains(QLatin1String("given another port link")))
            QVERIFY(QFile::link(setup.endsWith(QLatin1String("through the alias")) ? aliasLink() : module->devicePath(),
                                otherPort));
        // The port folder named through a link of its own, as the technician gave it.
        QString portFolder = module->portDirectory();
        if (setup.startsWith(QLatin1String("port folder through a link"))) {
            portFolder = workDir->filePath(QStringLiteral("ports"));
            QVERIFY(QFile::link(module->portDirectory(), portFolder));
            qputenv("DOWNLOADER_PORT_DIR", QFile::encodeName(portFolder));
        }
        holderPath = setup.endsWith(QLatin1String("given the alias"))           ? aliasLink()
                     : setup.endsWith(QLatin1String("given the port link"))     ? QDir(portFolder).filePath(heldPort)
                     : setup.contains(QLatin1String("given another port link")) ? otherPort
                     : setup.endsWith(QLatin1String("given that link"))         ? middleLink()
                                                                                : module->devicePath();
    }

private slots:
    void init() {
        // The reads keep their usual 2000 ms: an exchange on a held port must end long before one.
        openWindowOnModule(heldPort);
        putWindowForm(SampleForms::filled());
        const QString aliasFolder = QFileInfo(aliasLink()).path();
        QVERIFY(QDir().mkpath(aliasFolder));
        QVERIFY(QFile::link(module->devicePath(), aliasLink()));
        PortLocks::setAliasFolders({aliasFolder});
    }

    void cleanup() {
        closeWindowOnModule();
        PortLocks::setAliasFolders(defaultAliasFolders);
    }

    // The holder is given the device or one of its other names, and names its lock file after
    // that, as the tools do.
    void heldPortIsLeftAlone_data() {
        QTest::addColumn<int>("mode");
        QTest::addColumn<QString>("setup");
        QTest::addColumn<QString>("lockFolder");
        QTest::addColumn<QString>("exchange");
        const auto addRows = [](Mode mode, const char *setup, const char *lockFolder = "/var/lock") {
            for (const char *exchange : {"port dialog", "download", "read-back", "verify", "status"}) {
                QTest::addRow("%s, %s, %s, %s", PortHolder::modeName(mode), setup, lockFolder, exchange)
                    << int(mode) << QString(setup) << QString(lockFolder) << QString(exchange);
            }
        };
        for (Mode mode : allModes) {
            addRows(mode, "port to the device");
            addRows(mode, "port through the alias");
        }
        for (Mode mode : {Mode::Minicom, Mode::Cu}) {
            addRows(mode, "port through the alias, given the alias");
            addRows(mode, "port to the device, given the alias");
            addRows(mode, "port to the device, given the port link");
            addRows(mode, "port to the device, given another port link");
            addRows(mode, "port through a link of its own, given that link");
            addRows(mode, "port to the device, given another port link through the alias");
            addRows(mode, "port to the device", "/tmp");
        }
        // QSerialPort names its lock after the whole path it was given, the others after its last part.
        for (Mode mode : {Mode::Qt, Mode::Minicom, Mode::Cu})
            addRows(mode, "port folder through a link, given the port link");
    }

    void heldPortIsLeftAlone() {
        QFETCH(int, mode);
        QFETCH(QString, setup);
        QFETCH(QString, lockFolder);
        QFETCH(QString, exchange);
        QString holderPath;
        linkPortFor(setup, holderPath);
        if (QTest::currentTestFailed())
            return;
        module->onCommand('}', {"R\x05"});
        module->onCommand('{', {"x\r\n"});
        module->onCommand('[', {"OUT:=1111 IN:1111 A1:12.5 A2:3.0 SUPPL:1 GSMQ:3 1.6\r"});

        PortHolder holder;
        QVERIFY(holder.start(holderPath, Mode(mode), lockFolder));
        const LockFileState lockBefore = lockFileState(holder.lockFilePath());
        if (exchange != "port dialog")
            QTest::ignoreMessage(QtDebugMsg, "unable to open comport");

        QElapsedTimer clock;
        clock.start();
        if (exchange == "port dialog") {
            QCOMPARE(portsListed(), QStringList());
        } else if (exchange == "download") {
            QCOMPARE(downloadAndConfirm(), downloadFailure);
        } else if (exchange == "read-back" || exchange == "verify") {
            const bool readBack = exchange == "read-back";
            const TransferDriver::Run run = TransferDriver::run(
                [&] { readBack ? window->readup() : window->verify_func(); }, TransferDriver::Answer::Ok);
            QVERIFY2(run.failure.isEmpty(), qPrintable(run.failure));
            QCOMPARE(run.resultText,
                     QString::fromUtf8(readBack ? textTable().upload.failure : textTable().verify.failure));
            QVERIFY2(run.resultShownMs < 1000, qPrintable(QString::number(run.resultShownMs)));
        } else {
            Modal::MessageBoxCatcher catcher;
            window->allapot();
            QCOMPARE(catcher.texts, QStringList(statusFailure));
        }
        QVERIFY2(clock.elapsed() < 1000, qPrintable(QString::number(clock.elapsed())));
        QTest::qWait(20);
        QCOMPARE(module->received(), QByteArray());

        // The holder still holds, exactly as before.
        QCOMPARE(lockFileState(holder.lockFilePath()), lockBefore);
        if (!holder.lockFilePath().isEmpty())
            QVERIFY(!lockBefore.contents.isEmpty());
        QCOMPARE(PortCheck(devicePathForPort(heldPort), PortLocks::lockFolders(),
                           PortLocks::aliasFolders() << portDirectory())
                     .holder(),
                 holderSeenFor(Mode(mode)));
        QCOMPARE(holder.finish(), 0);
        QFile::remove(QDir(module->portDirectory()).filePath(otherPortName));

        // Let go, the port is listed and opens again.
        QCOMPARE(portsListed(), QStringList{heldPort});
        SerialPort again;
        QVERIFY(again.open(heldPort, 0, 100));
    }

    // A lock file whose process has ended holds nothing.
    void staleLockFileLeavesThePortUsable_data() {
        QTest::addColumn<int>("mode");
        QTest::newRow("minicom's name") << int(Mode::Minicom);
        QTest::newRow("cu's name") << int(Mode::Cu);
    }

    void staleLockFileLeavesThePortUsable() {
        QFETCH(int, mode);
        const QString lockPath = PortHolder::lockFilePathFor(module->devicePath(), Mode(mode));
        QFile lockFile(lockPath);
        QVERIFY(lockFile.open(QIODevice::NewOnly));
        lockFile.write(QByteArray::number(PortHolder::endedProcess()).rightJustified(10, ' ') + '\n');
        lockFile.close();

        QCOMPARE(portsListed(), QStringList{heldPort});
        module->onCommand('}', {"R\x05"});
        module->onByteCount('\r', 56, {"OK"});
        QCOMPARE(downloadAndConfirm(), downloadSuccess);
        QVERIFY(module->received().startsWith("~}"));
        QFile::remove(lockPath);
    }

    void toolsFindThePortBusyDuringADownload_data() {
        QTest::addColumn<int>("mode");
        QTest::newRow("BSD lock, as picocom and pyserial") << int(Mode::Flock);
        QTest::newRow("lock file, as minicom") << int(Mode::Minicom);
        QTest::newRow("QSerialPort") << int(Mode::Qt);
    }

    // The other program tries while the download waits for the module's 'R'; it is refused, and
    // the download goes through undisturbed.
    void toolsFindThePortBusyDuringADownload() {
        QFETCH(int, mode);
        module->onCommand('}', {"R\x05", false, 1000});
        module->onByteCount('\r', 56, {"OK"});
        bool started = true;
        int exitCode = -1;
        QString result;
        Modal::whenShown([&](QWidget *modal) {
            auto *dialog = qobject_cast<dload *>(modal);
            QVERIFY(dialog);
            QVERIFY(module->waitForReceived(2, 2000));
            PortHolder other;
            started = other.start(module->devicePath(), Mode(mode));
            exitCode = other.finish();
            QDialogButtonBox *box = TransferDriver::buttons(dialog);
            QVERIFY(QTest::qWaitFor([box] { return box->isEnabled(); }, 10000));
            result = TransferDriver::message(dialog)->text();
            box->button(QDialogButtonBox::Ok)->click();
        });
        window->download();
        QVERIFY(!started);
        QCOMPARE(exitCode, 1);
        QCOMPARE(result, downloadSuccess);
        QCOMPARE(module->received().count('\r'), 56);
    }
};

QTEST_MAIN(TestHeldPort)
#include "tst_heldport.moc"
