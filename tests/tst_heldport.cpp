#include "dialogs/setcom.h"
#include "link/dload.h"
#include "link/portlocks.h"
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
    setcom dialog(QStringLiteral("COM1"), 1200);
    QStringList names;
    for (int i = 0; i < dialog.ui->comboBox->count(); ++i)
        names << dialog.ui->comboBox->itemText(i);
    return names;
}

} // namespace

// COM1 held by another program, in each of the ways the Linux serial tools hold a port: the port
// dialog leaves it out, every exchange fails at once without a byte on the line, and the holder is
// left exactly as it was. And the other way round: while a download has the port, the tools find
// it busy.
class TestHeldPort : public QObject, public TransferDriver::WindowOnModule {
    Q_OBJECT

    // Points COM1 at the device through a second link, as a link to /dev/serial/by-id/ does.
    void linkThroughASecondLink() {
        const QDir folder(module->portDirectory());
        QVERIFY(QFile::link(module->devicePath(), folder.filePath(QStringLiteral("by-id"))));
        QVERIFY(QFile::remove(folder.filePath(QStringLiteral("COM1"))));
        QVERIFY(QFile::link(folder.filePath(QStringLiteral("by-id")), folder.filePath(QStringLiteral("COM1"))));
        QCOMPARE(QFileInfo(folder.filePath(QStringLiteral("COM1"))).canonicalFilePath(), module->devicePath());
    }

private slots:
    void init() {
        openWindowOnModule();
        window->settings.serialTimeout = 300;
        putWindowForm(SampleForms::filled());
    }

    void cleanup() { closeWindowOnModule(); }

    void heldPortIsLeftAlone_data() {
        QTest::addColumn<int>("mode");
        QTest::addColumn<bool>("secondLink");
        QTest::addColumn<QString>("exchange");
        for (Mode mode : allModes) {
            for (bool secondLink : {false, true}) {
                for (const char *exchange : {"port dialog", "download", "read-back", "verify", "status"}) {
                    QTest::addRow("%s, %s, %s", PortHolder::modeName(mode), secondLink ? "second link" : "device",
                                  exchange)
                        << int(mode) << secondLink << QString(exchange);
                }
            }
        }
    }

    void heldPortIsLeftAlone() {
        QFETCH(int, mode);
        QFETCH(bool, secondLink);
        QFETCH(QString, exchange);
        if (secondLink)
            linkThroughASecondLink();
        module->onCommand('}', {"R\x05"});
        module->onCommand('{', {"x\r\n"});
        module->onCommand('[', {"OUT:=1111 IN:1111 A1:12.5 A2:3.0 SUPPL:1 GSMQ:3 1.6\r"});

        PortHolder holder;
        QVERIFY(holder.start(module->devicePath(), Mode(mode)));
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
            QVERIFY2(run.resultShownMs < 500, qPrintable(QString::number(run.resultShownMs)));
        } else {
            Modal::MessageBoxCatcher catcher;
            window->allapot();
            QCOMPARE(catcher.texts, QStringList(statusFailure));
        }
        QVERIFY2(clock.elapsed() < 500, qPrintable(QString::number(clock.elapsed())));
        QTest::qWait(20);
        QCOMPARE(module->received(), QByteArray());

        // The holder still holds, exactly as before.
        QCOMPARE(lockFileState(holder.lockFilePath()), lockBefore);
        if (!holder.lockFilePath().isEmpty())
            QVERIFY(!lockBefore.contents.isEmpty());
        QCOMPARE(PortCheck(module->devicePath()).holder(), holderSeenFor(Mode(mode)));
        QCOMPARE(holder.finish(), 0);

        // Let go, the port is listed and opens again.
        QCOMPARE(portsListed(), QStringList{QStringLiteral("COM1")});
        SerialPort again;
        QVERIFY(again.open(QStringLiteral("COM1"), 0, 100));
    }

    // A lock file whose process has ended holds nothing.
    void staleLockFileLeavesThePortUsable_data() {
        QTest::addColumn<int>("mode");
        QTest::newRow("minicom's name") << int(Mode::Minicom);
        QTest::newRow("cu's name") << int(Mode::Cu);
    }

    void staleLockFileLeavesThePortUsable() {
        QFETCH(int, mode);
        const QStringList names = PortLocks::lockFileNames(module->devicePath());
        const QString lockPath =
            QDir(PortLocks::lockFolders().value(0))
                .filePath(QStringLiteral("LCK..") + (Mode(mode) == Mode::Cu ? names.last() : names.first()));
        QFile lockFile(lockPath);
        QVERIFY(lockFile.open(QIODevice::NewOnly));
        lockFile.write(QByteArray::number(PortHolder::endedProcess()).rightJustified(10, ' ') + '\n');
        lockFile.close();

        QCOMPARE(portsListed(), QStringList{QStringLiteral("COM1")});
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
