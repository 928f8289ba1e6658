#include "link/serialport.h"
#include "link/transferdialog.h"
#include "link/transferthread.h"
#include "support/simulatedmodule.h"
#include "support/transferdriver.h"
#include "texts/texts.h"

#include <QDialogButtonBox>
#include <QElapsedTimer>
#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <QTest>
#include <QTimer>

#include <memory>

namespace {

// A read-back-like exchange: '~' and the command, then everything until the module falls silent.
class ReceivingThread : public TransferThread {
public:
    ReceivingThread(const LinkSettings &settings, bool repeatLastByte, bool refuseStart = false)
        : TransferThread(settings), repeatLastByte(repeatLastByte), refuseStart(refuseStart) {}
    ~ReceivingThread() override { stopAndWait(); }

    QString received; // read it after the run has ended

protected:
    bool canStart() override { return !refuseStart; }

    void exchange() override {
        emit progressRange(0, 748);
        emit progressReset();
        if (!openPort(quint32(settings.serialTimeout), 0))
            return;
        portHandle.writeByte('~');
        portHandle.writeByte(settings.uploadCommand);
        received = receiveUntilSilence(repeatLastByte);
        if (!stopRequested())
            ok = true;
    }

private:
    const bool repeatLastByte;
    const bool refuseStart;
};

// Runs a worker to its end and collects the progress values it reported, in the GUI thread.
struct WorkerRun {
    explicit WorkerRun(TransferThread &worker) {
        QObject::connect(
            &worker, &TransferThread::progressValue, &context, [this](int value) { values << value; },
            Qt::QueuedConnection);
        QObject::connect(
            &worker, &TransferThread::progressRange, &context, [this](int, int maximum) { ranges << maximum; },
            Qt::QueuedConnection);
        QObject::connect(
            &worker, &QThread::finished, &context, [this] { finished = true; }, Qt::QueuedConnection);
        worker.start();
    }
    bool waitForEnd(int timeoutMs = 10000) {
        return QTest::qWaitFor([this] { return finished; }, timeoutMs);
    }

    QObject context;
    QList<int> values;
    QList<int> ranges;
    bool finished = false;
};

// A transfer dialog with a Cancel button that works, as read-back and verify have.
class CancellableDialog : public TransferDialog {
public:
    CancellableDialog(TransferThread *worker) : TransferDialog(nullptr) {
        buttonBox = new QDialogButtonBox(QDialogButtonBox::Cancel, this);
        message = new QLabel(uiText("upload", textTable().upload.running), this);
        progressBar = new QProgressBar(this);
        connect(buttonBox, &QDialogButtonBox::accepted, this, &QDialog::accept);
        connect(buttonBox, &QDialogButtonBox::rejected, this, &QDialog::reject);
        startWorker(worker, {buttonBox, message, progressBar}, textTable().upload, /*cancellable=*/true);
    }
    ~CancellableDialog() override { endWorker(); }

    QDialogButtonBox *buttonBox;
    QLabel *message;
    QProgressBar *progressBar;
};

} // namespace

class TestTransferThread : public QObject, public TransferDriver::ModuleFixture {
    Q_OBJECT

private:
    LinkSettings settings;

private slots:
    void init() {
        startModule();
        settings = LinkSettings();
        // A silence long enough that a module scheduled late on a busy machine is not taken for one.
        settings.serialTimeout = 1000;
    }

    void cleanup() { module.reset(); }

    void receiveUntilSilence_data() {
        QTest::addColumn<QByteArray>("reply");
        QTest::addColumn<bool>("repeatLastByte");
        QTest::addColumn<QString>("text");
        QTest::addColumn<QList<int>>("progress");

        QTest::newRow("last byte repeated") << QByteArray("ABC") << true << "ABCC" << QList<int>{1, 2, 3, 4};
        QTest::newRow("last byte not repeated") << QByteArray("ABC") << false << "ABC" << QList<int>{1, 2, 3, 3};
        QTest::newRow("silent module, nothing to repeat") << QByteArray() << true << "" << QList<int>{0};
        QTest::newRow("silent module") << QByteArray() << false << "" << QList<int>{0};
        QTest::newRow("line ends and 0xFF kept as they came")
            << QByteArray("a\r\n\xff") << false << QString::fromLatin1("a\r\n\xff") << QList<int>{1, 2, 3, 4, 4};
    }

    void receiveUntilSilence() {
        QFETCH(QByteArray, reply);
        QFETCH(bool, repeatLastByte);
        QFETCH(QString, text);
        QFETCH(QList<int>, progress);
        module->onCommand('{', {reply});

        ReceivingThread worker(settings, repeatLastByte);
        WorkerRun run(worker);
        QVERIFY(run.waitForEnd());
        worker.stopAndWait();
        QVERIFY(worker.succeeded());
        QCOMPARE(worker.received, text);
        QCOMPARE(run.ranges, QList<int>{748});
        QCOMPARE(run.values, progress);
        QCOMPARE(module->received(), QByteArray("~{"));
    }

    void everyByteValueArrivesAsItsLatin1Character() {
        QByteArray reply;
        for (int value = 0; value < 256; ++value)
            reply.append(char(value));
        module->onCommand('{', {reply});
        ReceivingThread worker(settings, false);
        WorkerRun run(worker);
        QVERIFY(run.waitForEnd());
        worker.stopAndWait();
        QCOMPARE(worker.received, QString::fromLatin1(reply));
    }

    // A paced reply (1200 baud) that the module cuts off by vanishing: the receive ends at once.
    void vanishingModuleEndsTheReceive() {
        module->onCommand('{', {QByteArray(24, 'x'), true, 0, true});
        ReceivingThread worker(settings, true);
        QElapsedTimer clock;
        clock.start();
        WorkerRun run(worker);
        QVERIFY(run.waitForEnd());
        // 24 byte times at 1200 baud, but no read time-out after the line went away.
        QVERIFY2(clock.elapsed() >= 190 && clock.elapsed() < 700, qPrintable(QString::number(clock.elapsed())));
        worker.stopAndWait();
        QCOMPARE(worker.received, QString(25, 'x'));
    }

    // A stop ends the run within a slice of the read, with the port closed and the result false.
    void stopWhileBytesArrive() {
        module->onCommand('{', {QByteArray(600, 'y'), true});
        ReceivingThread worker(settings, true);
        WorkerRun run(worker);
        QVERIFY(QTest::qWaitFor([&] { return run.values.size() >= 10; }, 5000));
        QElapsedTimer clock;
        clock.start();
        worker.requestStop();
        QVERIFY(run.waitForEnd());
        // Well before the five seconds the rest of the reply takes.
        QVERIFY2(clock.elapsed() < 1000, qPrintable(QString::number(clock.elapsed())));
        worker.stopAndWait();
        QVERIFY(!worker.succeeded());
        QVERIFY(worker.received.size() < 600);
        SerialPort again;
        QVERIFY(again.open(settings.port, 0, 100));
    }

    void refusedStartTouchesNothing() {
        ReceivingThread worker(settings, false, /*refuseStart=*/true);
        WorkerRun run(worker);
        QVERIFY(run.waitForEnd());
        worker.stopAndWait();
        QVERIFY(!worker.succeeded());
        QVERIFY(run.ranges.isEmpty());
        QVERIFY(run.values.isEmpty());
        QTest::qWait(50);
        QCOMPARE(module->received(), QByteArray());
    }

    void portThatCannotBeOpened() {
        settings.port = "COM5";
        QTest::ignoreMessage(QtDebugMsg, "unable to open comport");
        ReceivingThread worker(settings, false);
        WorkerRun run(worker);
        QVERIFY(run.waitForEnd());
        worker.stopAndWait();
        QVERIFY(!worker.succeeded());
    }

    // Cancel while the worker runs: the dialog ends rejected at once, the worker stops.
    void cancelStopsTheWorker() {
        module->onCommand('{', {QByteArray(600, 'z'), true});
        auto *worker = new ReceivingThread(settings, true);
        CancellableDialog dialog(worker);
        QVERIFY(dialog.buttonBox->isEnabled());
        QElapsedTimer clock;
        QTimer::singleShot(200, &dialog, [&] {
            clock.start();
            dialog.buttonBox->button(QDialogButtonBox::Cancel)->click();
        });
        QCOMPARE(dialog.exec(), int(QDialog::Rejected));
        // Well before the rest of the reply has come.
        QVERIFY2(clock.elapsed() < 1000, qPrintable(QString::number(clock.elapsed())));
        QVERIFY(QTest::qWaitFor([&] { return worker->isFinished(); }, 500));
        // The stopped worker's finished() still reaches the dialog, with the failure.
        QTRY_COMPARE(dialog.message->text(), QString::fromUtf8(textTable().upload.failure));
        QCOMPARE(dialog.result(), int(QDialog::Rejected));
        SerialPort again;
        QVERIFY(again.open(settings.port, 0, 100));
    }

    // A dialog ended by Escape right after a success is not accepted by the timer later.
    void endedDialogIsNotAcceptedLater() {
        module->onCommand('{', {"ok"});
        auto *worker = new ReceivingThread(settings, true);
        CancellableDialog dialog(worker);
        QTimer::singleShot(0, &dialog, [&] {
            QVERIFY(QTest::qWaitFor([&] { return dialog.buttonBox->standardButtons() == QDialogButtonBox::Ok; }));
            QTest::keyClick(&dialog, Qt::Key_Escape);
        });
        QCOMPARE(dialog.exec(), int(QDialog::Rejected));
        QCOMPARE(dialog.message->text(), QString::fromUtf8(textTable().upload.success));
        QTest::qWait(2200);
        QCOMPARE(dialog.result(), int(QDialog::Rejected));
    }
};

QTEST_MAIN(TestTransferThread)
#include "tst_transferthread.moc"
