#include "link/dload.h"
#include "link/serialport.h"
#include "mainwindow/formlists.h"
#include "mainwindow/mainwindow.h"
#include "mainwindow/ui_mainwindow.h"
#include "support/modal.h"
#include "support/portholder.h"
#include "support/sampleforms.h"
#include "support/simulatedmodule.h"
#include "support/transferdriver.h"

#include <QDialogButtonBox>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QLabel>
#include <QMessageBox>
#include <QProgressBar>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>

#include <fcntl.h>
#include <termios.h>
#include <unistd.h>

#include <memory>
#include <thread>

namespace {

const QString downloadSuccess = QStringLiteral("Download successful.");
const QString downloadFailure = QStringLiteral("Download error.\nTip: check the device.");
const QString statusFailure = QStringLiteral("Cannot get status.\nCheck the device");

// A status line with '1' at every examined character.
const QByteArray statusLine = "OUT:=1111 IN:1111 A1:12.5 A2:3.0 SUPPL:1 GSMQ:3 1.6";

// The threads of this process, but for the idle ones of Qt's global pool, which come and go on
// their own.
QStringList threadNames() {
    QStringList names;
    const QDir tasks(QStringLiteral("/proc/self/task"));
    for (const QString &task : tasks.entryList(QDir::Dirs | QDir::NoDotAndDotDot)) {
        QFile name(tasks.filePath(task + QStringLiteral("/comm")));
        if (!name.open(QIODevice::ReadOnly))
            continue;
        const QString threadName = QString::fromLocal8Bit(name.readAll().trimmed());
        if (threadName != QLatin1String("Thread (pooled)"))
            names << threadName;
    }
    return names;
}

// Descriptors of this process open on the device.
int descriptorsOn(const QString &device) {
    int count = 0;
    const QDir descriptors(QStringLiteral("/proc/self/fd"));
    for (const QString &fd : descriptors.entryList(QDir::System | QDir::NoDotAndDotDot)) {
        if (QFile::symLinkTarget(descriptors.filePath(fd)) == device)
            ++count;
    }
    return count;
}

// Stops the terminal from taking bytes from the program, as a module whose receive buffer is full
// would: the program's writes wait until the hold is released.
class OutputHold {
public:
    explicit OutputHold(const QString &device)
        : fd(::open(QFile::encodeName(device).constData(), O_RDWR | O_NOCTTY | O_NONBLOCK | O_CLOEXEC)) {}
    ~OutputHold() {
        if (fd >= 0) {
            ::tcflow(fd, TCOON);
            ::close(fd);
        }
    }
    OutputHold(const OutputHold &) = delete;
    OutputHold &operator=(const OutputHold &) = delete;

    bool isValid() const { return fd >= 0; }
    bool hold() { return ::tcflow(fd, TCOOFF) == 0; }

private:
    int fd;
};

} // namespace

// The download and the status query of the main window against a module that misbehaves: every
// exchange ends in its error text, or in success where the bytes allow it, within bounded time,
// with the port free again and no worker left running.
class TestDownloadStatusFaults : public QObject, public TransferDriver::WindowOnModule {
    Q_OBJECT

    QString device; // the terminal behind COM1
    int threadsBefore = 0;

    // Notes the terminal behind COM1 of the module just started.
    void findDevice() {
        device = QFile::symLinkTarget(QDir(module->portDirectory()).filePath(QStringLiteral("COM1")));
        QVERIFY(!device.isEmpty());
    }

    // The port is free again: no descriptor of the program left on it, and a new open succeeds at
    // once while the module is still there. No download worker is left, and no other thread.
    void verifyCleanEnd(int othersOnTheDevice = 0) {
        QCOMPARE(descriptorsOn(device), (module->hasVanished() ? 0 : 1) + othersOnTheDevice); // the module's own
        if (!module->hasVanished()) {
            QElapsedTimer clock;
            clock.start();
            SerialPort again;
            QVERIFY(again.open(QStringLiteral("COM1"), 0, 100));
            QVERIFY2(clock.elapsed() < 200, qPrintable(QString::number(clock.elapsed())));
        }
        QTRY_VERIFY(!threadNames().contains(QStringLiteral("dlThread")));
        // The module's thread ends when it vanishes.
        QTRY_VERIFY(threadNames().size() <= threadsBefore);
    }

private slots:
    void init() {
        openWindowOnModule();
        findDevice();
        window->settings.port = QStringLiteral("COM1");
        putWindowForm(SampleForms::filled());
        window->show();
        QVERIFY(QTest::qWaitForWindowExposed(window.get()));
        threadsBefore = int(threadNames().size());
    }

    void cleanup() { closeWindowOnModule(); }

    void downloadFaults_data() {
        QTest::addColumn<QString>("fault");
        QTest::addColumn<bool>("success");
        QTest::addColumn<int>("minimumMs");
        QTest::addColumn<int>("maximumMs");

        QTest::newRow("module vanishes after 'R'") << "vanish after R" << false << 0 << 2000;
        QTest::newRow("module vanishes after the first acknowledgement byte")
            << "vanish after ack" << true << 0 << 2000;
        QTest::newRow("garbage instead of 'R'") << "garbage" << false << 0 << 1000;
        QTest::newRow("garbage acknowledgement") << "garbage ack" << false << 0 << 1000;
        QTest::newRow("0x00 bytes") << "zeros" << false << 0 << 1000;
        QTest::newRow("0x00 acknowledgement") << "zero ack" << false << 0 << 1000;
        QTest::newRow("0xFF acknowledgement") << "0xFF ack" << false << 0 << 1000;
        QTest::newRow("0xFF acknowledgement awaited") << "0xFF ack awaited" << true << 0 << 1000;
        QTest::newRow("reply of 100,000 bytes") << "100000" << false << 0 << 3000;
        QTest::newRow("reply of 100,000 bytes holding the acknowledgement") << "100000 ack" << true << 0 << 3000;
        QTest::newRow("half a reply: 'R' alone, the byte after it waited for") << "R alone" << true << 2900 << 4500;
        QTest::newRow("device held by another program") << "held" << false << 0 << 1000;
    }

    void downloadFaults() {
        QFETCH(QString, fault);
        QFETCH(bool, success);
        QFETCH(int, minimumMs);
        QFETCH(int, maximumMs);
        const QByteArray handshake("R\x05");
        const QByteArray many(99999, 'Z');
        PortHolder holder;
        QByteArray answer = handshake;
        QByteArray acknowledgement = "OK";
        if (fault == "vanish after R")
            module->onCommand('}', {"R", false, 0, true});
        if (fault == "vanish after ack") {
            acknowledgement.clear();
            module->onByteCount('\r', 56, {"O", false, 0, true});
        }
        if (fault == "garbage")
            answer = "\x01garbage\x7f";
        if (fault == "garbage ack")
            acknowledgement = "?!";
        if (fault == "zeros")
            answer = QByteArray(4, '\0');
        if (fault == "zero ack")
            acknowledgement = QByteArray(2, '\0');
        if (fault == "0xFF ack")
            acknowledgement = "\xff\xff";
        if (fault == "0xFF ack awaited") {
            acknowledgement = "\xff\xff";
            window->settings.ackChar = '\xff';
        }
        if (fault == "100000")
            answer = "R" + many;
        if (fault == "100000 ack") // bytes 3 and 4 of the reply are read as the acknowledgement
            answer = "R\x05xO" + many.left(99996);
        if (fault == "R alone")
            answer = "R";
        if (fault == "held") {
            QVERIFY(holder.start(module->devicePath()));
            QTest::ignoreMessage(QtDebugMsg, "unable to open comport");
        }
        if (fault != "vanish after R")
            module->onCommand('}', {answer});
        if (!acknowledgement.isEmpty())
            module->onByteCount('\r', 56, {acknowledgement});

        Modal::MessageBoxCatcher catcher;
        QElapsedTimer clock;
        clock.start();
        const QString result = downloadAndConfirm();
        const qint64 elapsed = clock.elapsed();
        QCOMPARE(result, success ? downloadSuccess : downloadFailure);
        QVERIFY2(elapsed >= minimumMs && elapsed < maximumMs, qPrintable(QString::number(elapsed)));
        QVERIFY(catcher.texts.isEmpty());
        if (fault == "held") {
            QTest::qWait(20);
            QVERIFY(module->received().isEmpty());
        } else {
            QVERIFY(module->received().startsWith("~}"));
        }
        QCOMPARE(holder.finish(), fault == "held" ? 0 : -1);
        verifyCleanEnd();
    }

    void statusFaults_data() {
        QTest::addColumn<QString>("fault");
        QTest::addColumn<bool>("success");
        QTest::addColumn<int>("minimumMs");
        QTest::addColumn<int>("maximumMs");

        QTest::newRow("module vanishes mid-reply") << "vanish" << false << 0 << 2000;
        QTest::newRow("module vanishes after seven parts") << "vanish after 7" << true << 0 << 2000;
        QTest::newRow("garbage") << "garbage" << false << 0 << 1000;
        QTest::newRow("0x00 and 0xFF bytes") << "0x00 0xFF" << true << 0 << 1000;
        QTest::newRow("reply of 100,000 bytes") << "100000" << false << 0 << 3000;
        QTest::newRow("reply that never ends") << "endless" << false << 0 << 3000;
        QTest::newRow("reply of the longest length") << "longest" << true << 0 << 3000;
        QTest::newRow("reply one byte too long") << "too long" << false << 0 << 3000;
        QTest::newRow("half a reply, then silence") << "half" << false << 4900 << 6500;
        QTest::newRow("device held by another program") << "held" << false << 0 << 1000;
    }

    void statusFaults() {
        QFETCH(QString, fault);
        QFETCH(bool, success);
        QFETCH(int, minimumMs);
        QFETCH(int, maximumMs);
        PortHolder holder;
        QString version = QStringLiteral("Verzió: 1.6");
        if (fault == "vanish")
            module->onCommand('[', {statusLine.left(20), false, 0, true});
        if (fault == "vanish after 7")
            module->onCommand('[', {statusLine, false, 0, true});
        if (fault == "garbage")
            module->onCommand('[', {"\x01\x02garbage\x7f\r"});
        if (fault == "0x00 0xFF") {
            // '_' stands for 0x00 and '#' for 0xFF.
            const QByteArray line =
                QByteArray("OUT:=1_#1 IN:#__1 A1:# A2:_ SUPPL:1 GSMQ:# #_\r").replace('_', '\0').replace('#', '\xff');
            module->onCommand('[', {line});
            version = QStringLiteral("Verzió: \u00ff") + QChar(0);
        }
        if (fault == "100000")
            module->onCommand('[', {statusLine + ' ' + QByteArray(100000 - statusLine.size() - 1, 'x') + '\r'});
        if (fault == "endless")
            module->onCommand('[', {QByteArray(100000, '1')});
        if (fault == "longest") {
            // 4,096 bytes before the CR are still taken.
            const QByteArray line = statusLine + ' ' + QByteArray(4096 - statusLine.size() - 1, 'x');
            module->onCommand('[', {line + '\r'});
        }
        if (fault == "too long") {
            const QByteArray line = statusLine + ' ' + QByteArray(4097 - statusLine.size() - 1, 'x');
            module->onCommand('[', {line + '\r'});
        }
        if (fault == "half")
            module->onCommand('[', {statusLine.left(25)});
        if (fault == "held") {
            QVERIFY(holder.start(module->devicePath()));
            QTest::ignoreMessage(QtDebugMsg, "unable to open comport");
        }
        window->ui->l_ver->setText(QStringLiteral("before"));

        Modal::MessageBoxCatcher catcher;
        bool idleAtBox = false;
        catcher.onShown = [&](QMessageBox *) {
            idleAtBox = window->ui->allapot_gomb->isEnabled() &&
                        window->ui->allapot_gomb->text() == QStringLiteral("Get Status");
        };
        QElapsedTimer clock;
        clock.start();
        window->allapot();
        const qint64 elapsed = clock.elapsed();

        QVERIFY2(elapsed >= minimumMs && elapsed < maximumMs, qPrintable(QString::number(elapsed)));
        QCOMPARE(catcher.texts, success ? QStringList() : QStringList(statusFailure));
        if (!success)
            QVERIFY(idleAtBox);
        QCOMPARE(window->ui->l_ver->text(), success ? version : QStringLiteral("before"));
        QVERIFY(window->ui->allapot_gomb->isEnabled());
        QCOMPARE(window->ui->allapot_gomb->text(), QStringLiteral("Get Status"));
        if (fault == "0x00 0xFF") {
            QCOMPARE(window->ui->w_ki1->styleSheet(), QStringLiteral("background-color: rgb(255, 170, 0);"));
            QCOMPARE(window->ui->w_ki2->styleSheet(), QStringLiteral("background-color: rgb(180, 180, 180);"));
            QCOMPARE(window->ui->w_ki4->styleSheet(), QStringLiteral("background-color: rgb(255, 170, 0);"));
            QCOMPARE(window->ui->w_be4->styleSheet(), QStringLiteral("background-color: rgb(0, 170, 255);"));
            QCOMPARE(window->ui->l_analog1->text(), QStringLiteral("\u00ff V"));
            QCOMPARE(window->ui->l_analog2->text(), QChar(0) + QStringLiteral(" V"));
            QCOMPARE(window->ui->terero->value(), 2);
        }
        if (fault == "held") {
            QTest::qWait(20);
            QVERIFY(module->received().isEmpty());
        } else {
            QCOMPARE(module->received(), QByteArray("~["));
        }
        QCOMPARE(holder.finish(), fault == "held" ? 0 : -1);
        verifyCleanEnd();
    }

    // After a reply that would not end, the window is usable: the next query (of a module that has
    // come to its senses) is shown.
    void windowUsableAfterAnEndlessReply() {
        module->onCommand('[', {QByteArray(100000, '1')});
        {
            Modal::MessageBoxCatcher catcher;
            window->allapot();
            QCOMPARE(catcher.texts, QStringList(statusFailure));
        }
        // The rest of the endless reply is the old module's; a fresh one answers the next query.
        module.reset();
        startModule();
        findDevice();
        module->onCommand('[', {statusLine + '\r'});
        Modal::MessageBoxCatcher catcher;
        window->ui->allapot_gomb->click();
        QVERIFY(catcher.texts.isEmpty());
        QCOMPARE(window->ui->l_ver->text(), QStringLiteral("Verzió: 1.6"));
        QCOMPARE(window->ui->terero->value(), 30);
        verifyCleanEnd();
    }

    void downloadAtLinePace_data() {
        QTest::addColumn<QString>("ending");
        QTest::addColumn<bool>("pacedModule");
        QTest::newRow("Escape 2 s into the data, module behind a UART") << "escape" << true;
        QTest::newRow("silence after the data, module behind an adapter that takes bytes at once")
            << "silence" << false;
    }

    // A download at 1200 baud. The bar never runs ahead of what the line can have carried since the
    // download began (counted from before it, so that a busy machine that runs the test late cannot
    // make the program look ahead); Escape ends it within a slice, nothing reaches the module that
    // had not left the port by then, and the port is free; a module that stays silent after the
    // data is given up after two 3000 ms reads.
    void downloadAtLinePace() {
        QFETCH(QString, ending);
        QFETCH(bool, pacedModule);
        useLineAt1200Baud(pacedModule);
        module->onCommand('}', {"R\x05"});

        QElapsedTimer clock;
        int largestLead = 0;
        qsizetype receivedAtEscape = -1;
        qint64 escapedMs = -1;
        qint64 lastByteTakenMs = -1;
        qint64 resultShownMs = -1;
        int wireBytes = 0;
        QString result;
        Modal::whenShown([&](QWidget *modal) {
            auto *dialog = qobject_cast<dload *>(modal);
            if (!dialog)
                return;
            QProgressBar *bar = TransferDriver::bar(dialog);
            QDialogButtonBox *buttons = TransferDriver::buttons(dialog);
            // '~', '}', the text with each separator a CR, and the final CR.
            wireBytes = 2 + int(window->settings.dataText.size()) + 1;
            // Every value the bar takes from now on is the worker's; each step past ten stands for a
            // data byte written after '~' and '}'. After the Escape the steps stand for nothing.
            qint64 dataFromMs = -1;
            QObject::connect(bar, &QProgressBar::valueChanged, dialog, [&](int value) {
                if (value < 10 || escapedMs >= 0)
                    return;
                largestLead = qMax(largestLead, 2 + (value - 10) - bytesCarriedSince(clock));
                if (dataFromMs < 0)
                    dataFromMs = clock.elapsed();
            });
            while (!buttons->isEnabled() && clock.elapsed() < 30000) {
                const qsizetype taken = module->received().size();
                if (taken == wireBytes && lastByteTakenMs < 0)
                    lastByteTakenMs = clock.elapsed();
                if (ending == "escape" && dataFromMs >= 0 && clock.elapsed() - dataFromMs >= 2000) {
                    receivedAtEscape = module->received().size();
                    escapedMs = clock.elapsed();
                    QTest::keyClick(dialog, Qt::Key_Escape);
                    return;
                }
                QTest::qWait(5);
            }
            resultShownMs = clock.elapsed();
            result = TransferDriver::message(dialog)->text();
            dialog->reject();
        });
        clock.start();
        window->download();
        const qint64 returnedMs = clock.elapsed();
        const int takenAtEnd = module->bytesTaken();

        // At most the byte on the wire and the next are written ahead of the line.
        QVERIFY2(largestLead <= 2, qPrintable(QString::number(largestLead)));
        if (ending == "escape") {
            QVERIFY2(receivedAtEscape > 100, qPrintable(QString::number(receivedAtEscape)));
            QVERIFY2(returnedMs - escapedMs < 1000, qPrintable(QString::number(returnedMs - escapedMs)));
            QTest::qWait(500);
            QCOMPARE(module->received().size(), takenAtEnd);
            verifyCleanEnd();
        } else {
            QCOMPARE(result, downloadFailure);
            // The last byte goes once the line has carried all but two, then two reads wait 3000 ms.
            const qint64 lastByteWrittenMs = (wireBytes - 2) * SerialPort::byteTimeAt1200Baud.count() / 1000;
            QVERIFY2(lastByteTakenMs >= lastByteWrittenMs, qPrintable(QString::number(lastByteTakenMs)));
            QVERIFY2(resultShownMs >= lastByteWrittenMs + 6000, qPrintable(QString::number(resultShownMs)));
            const qint64 failedAfter = resultShownMs - lastByteTakenMs;
            QVERIFY2(failedAfter < 7500, qPrintable(QString::number(failedAfter)));
            QVERIFY(returnedMs - resultShownMs < 2000);
        }
    }

    void escapeDuringDownload_data() {
        QTest::addColumn<QString>("stage");
        QTest::newRow("before 'R'") << "before R";
        QTest::newRow("during the data") << "data";
        QTest::newRow("after the result") << "result";
    }

    // Escape rejects the download dialog at once at every stage; the worker stops, the port is
    // released, and nothing is reported.
    void escapeDuringDownload() {
        QFETCH(QString, stage);
        OutputHold output(device);
        QVERIFY(output.isValid());
        std::thread holder;
        if (stage == "before R") {
            // The module stays silent after the command.
        } else if (stage == "data") {
            module->onCommand('}', {"R\x05", false, 300});
            holder = std::thread([this, &output] {
                if (module->waitForReceived(2, 5000))
                    output.hold();
            });
        } else {
            module->onCommand('}', {"R\x05"});
            module->onByteCount('\r', 56, {"OK"});
        }

        QElapsedTimer clock;
        qint64 escapeAt = -1;
        bool ready = false;
        Modal::whenShown([&](QWidget *modal) {
            auto *dialog = qobject_cast<dload *>(modal);
            if (!dialog)
                return;
            QProgressBar *bar = TransferDriver::bar(dialog);
            QDialogButtonBox *buttons = TransferDriver::buttons(dialog);
            if (stage == "before R")
                ready = QTest::qWaitFor([&] { return module->received() == "~}"; }, 2000);
            else if (stage == "data")
                ready = QTest::qWaitFor([bar] { return bar->value() >= 10; }, 2000);
            else
                ready = QTest::qWaitFor([buttons] { return buttons->isEnabled(); }, 5000);
            // Let the worker settle into the stage: waiting for 'R', or held in its first write.
            QTest::qWait(100);
            ready = ready && (stage == "result" || !buttons->isEnabled());
            escapeAt = clock.elapsed();
            QTest::keyClick(dialog, Qt::Key_Escape);
        });
        Modal::MessageBoxCatcher catcher;
        clock.start();
        window->download();
        const qint64 returnedAfter = clock.elapsed() - escapeAt;
        if (holder.joinable())
            holder.join();

        QVERIFY(ready);
        QVERIFY(escapeAt >= 0);
        QVERIFY2(returnedAfter < 500, qPrintable(QString::number(returnedAfter)));
        QVERIFY(catcher.texts.isEmpty());
        if (stage == "result")
            QCOMPARE(module->receivedCount('\r'), 56);
        else
            QCOMPARE(module->received(), QByteArray("~}"));
        verifyCleanEnd(/*the hold's own*/ 1);
    }
};

QTEST_MAIN(TestDownloadStatusFaults)
#include "tst_downloadstatusfaults.moc"
