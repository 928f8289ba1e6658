#include "link/configtext.h"
#include "link/serialport.h"
#include "link/transferthread.h"
#include "link/upload.h"
#include "mainwindow/formlists.h"
#include "mainwindow/mainwindow.h"
#include "mainwindow/ui_mainwindow.h"
#include "support/portholder.h"
#include "support/sampleforms.h"
#include "support/simulatedmodule.h"
#include "support/transferdriver.h"
#include "support/transferreplies.h"
#include "texts/texts.h"

#include <QDir>
#include <QKeyEvent>
#include <QLineEdit>
#include <QTemporaryDir>

#include <memory>

using TransferDriver::Answer;
using TransferReplies::linesOf;

namespace {

enum class Transfer { ReadBack, Verify };

// The stored configuration that the module sends back: a read-back of it succeeds; a verify of it
// succeeds against the form SampleForms::filled().
QStringList goodFields(Transfer transfer) {
    if (transfer == Transfer::ReadBack)
        return TransferReplies::storedFields();
    return TransferReplies::fieldsOf(SampleForms::filled());
}

// The whole reply: the lines and, for verify, the two characters the module adds after them.
QByteArray goodReply(Transfer transfer, const QStringList &fields) {
    return linesOf(fields, transfer == Transfer::Verify ? QByteArray("ok") : QByteArray());
}

QByteArray goodReply(Transfer transfer) {
    return goodReply(transfer, goodFields(transfer));
}

} // namespace

class TestTransferFaults : public QObject, public TransferDriver::WindowOnModule {
    Q_OBJECT

private:
    void addRows(Transfer transfer) {
        const char *name = transfer == Transfer::ReadBack ? "read-back" : "verify";
        const bool readBack = transfer == Transfer::ReadBack;
        const auto row = [&](const char *fault, Answer answer, bool success, const QString &debugText) {
            QTest::addRow("%s: %s", name, fault)
                << int(transfer) << QString(fault) << int(answer) << success << (readBack ? debugText : QString());
        };
        row("module vanishes mid-reply", Answer::Ok, false, "dberror");
        row("garbage without line ends", Answer::Ok, false, "sep error");
        row("garbage lines", Answer::Ok, false, "dberror");
        row("0x00 in a text field", Answer::Ok, readBack, QString());
        row("0xFF for a space", Answer::Ok, true, QString());
        row("100000 bytes", Answer::Ok, false, "dberror");
        row("half a reply", Answer::Ok, false, "dberror");
        row("device held by another program", Answer::Ok, false, QString());
        row("Escape before any byte", Answer::EscapeAtOnce, false, QString());
        row("Escape while bytes arrive", Answer::EscapeWhileReceiving, false, QString());
        row("Escape after a failure", Answer::Escape, false, "sep error");
        row("Escape after a success", Answer::Escape, true, QString());
    }

private slots:
    void init() {
        openWindowOnModule();
        // A silence long enough that a module scheduled late on a busy machine is not taken for one.
        window->settings.serialTimeout = 1000;
        putWindowForm(SampleForms::filled());
    }

    void cleanup() { closeWindowOnModule(); }

    void faults_data() {
        QTest::addColumn<int>("transfer");
        QTest::addColumn<QString>("fault");
        QTest::addColumn<int>("answer");
        QTest::addColumn<bool>("success");
        QTest::addColumn<QString>("debugText");
        addRows(Transfer::ReadBack);
        addRows(Transfer::Verify);
    }

    // Each fault ends in the result the bytes allow, with the port released, no worker left and,
    // unless a read-back succeeded, the form as it was.
    void faults() {
        QFETCH(int, transfer);
        QFETCH(QString, fault);
        QFETCH(int, answer);
        QFETCH(bool, success);
        QFETCH(QString, debugText);
        const Transfer kind = Transfer(transfer);
        const bool readBack = kind == Transfer::ReadBack;
        const char command = '{';
        const QStringList fields = goodFields(kind);

        PortHolder holder;
        QString expectedEdit; // the text field 20's edit ends with after a successful read-back
        if (fault == "module vanishes mid-reply") {
            module->onCommand(command, {goodReply(kind).left(500), false, 0, /*vanishAfter=*/true});
        } else if (fault == "garbage without line ends") {
            // Every byte value but the line ends and the separator, over and over.
            QByteArray garbage;
            for (int index = 0; garbage.size() < 900; ++index) {
                const char byte = char(index % 256);
                if (byte != '\r' && byte != '\n' && byte != '|')
                    garbage.append(byte);
            }
            module->onCommand(command, {garbage});
        } else if (fault == "garbage lines") {
            QByteArray garbage;
            for (int line = 0; line < 56; ++line)
                garbage += QByteArray(8, char(0)) + QByteArray(8, char(0xFF)) + QByteArray(1, char(line)) + "\r\n";
            module->onCommand(command, {garbage});
        } else if (fault == "0x00 in a text field") {
            QStringList withNul = fields;
            withNul[20][2] = QChar(0);
            expectedEdit = withNul[20].trimmed();
            module->onCommand(command, {goodReply(kind, withNul)});
        } else if (fault == "0xFF for a space") {
            QStringList withFF = fields;
            withFF[20][15] = QChar(0xFF);
            expectedEdit = fields[20].trimmed();
            module->onCommand(command, {goodReply(kind, withFF)});
        } else if (fault == "100000 bytes") {
            QByteArray flood;
            while (flood.size() < 100000)
                flood += "0123456789abcdef\r\n";
            module->onCommand(command, {flood.left(100000)});
        } else if (fault == "half a reply") {
            module->onCommand(command, {linesOf(fields.mid(0, 28))});
        } else if (fault == "device held by another program") {
            QVERIFY(holder.start(module->devicePath()));
            QTest::ignoreMessage(QtDebugMsg, "unable to open comport");
        } else if (fault == "Escape while bytes arrive") {
            module->onCommand(command, {goodReply(kind), /*paced=*/true});
        } else if (fault == "Escape after a success") {
            module->onCommand(command, {goodReply(kind)});
            expectedEdit = fields[20].trimmed();
        }
        // "Escape before any byte" and "Escape after a failure": the module stays silent.
        if (!debugText.isEmpty())
            QTest::ignoreMessage(QtDebugMsg, qPrintable(debugText));

        const FormValues before = windowForm();
        QElapsedTimer clock;
        clock.start();
        const TransferDriver::Run run =
            TransferDriver::run([&] { readBack ? window->readup() : window->verify_func(); }, Answer(answer));
        const qint64 elapsed = clock.elapsed();
        QVERIFY2(run.failure.isEmpty(), qPrintable(run.failure));
        if (fault == "device held by another program") {
            QVERIFY2(run.resultShownMs < 500, qPrintable(QString::number(run.resultShownMs)));
            QCOMPARE(module->received(), QByteArray());
        }

        const TransferTexts &texts = readBack ? textTable().upload : textTable().verify;
        const bool resultExpected = Answer(answer) == Answer::Ok || Answer(answer) == Answer::Escape;
        if (resultExpected) {
            QCOMPARE(run.resultText, QString::fromUtf8(success ? texts.success : texts.failure));
            QCOMPARE(run.result, int(Answer(answer) == Answer::Ok ? QDialog::Accepted : QDialog::Rejected));
        } else {
            QVERIFY(run.workerRanWhenPressed);
            QCOMPARE(run.result, int(QDialog::Rejected));
            QVERIFY2(run.endedMs - run.pressedMs < 500, qPrintable(QString::number(run.endedMs - run.pressedMs)));
            // The slot returns once the dialog has stopped its worker: within a slice of a read.
            QVERIFY2(elapsed - run.pressedMs < 500, qPrintable(QString::number(elapsed - run.pressedMs)));
        }

        // No worker left behind, and the port free again at once (unless the line itself is gone).
        QVERIFY(run.worker.isNull());
        QTRY_COMPARE(TransferReplies::threadCount(readBack ? "upThread" : "vThread"), 0);
        holder.finish();
        if (fault != "module vanishes mid-reply") {
            SerialPort again;
            QVERIFY(again.open(QStringLiteral("COM1"), 0, 100));
        } else {
            QVERIFY(module->hasVanished());
        }

        if (readBack && success) {
            QCOMPARE(formLists(window->ui->centralWidget).edits.at(19 + 20 - 16)->text(), expectedEdit);
            QCOMPARE(window->findChild<QLineEdit *>("m_nev")->text(), QString("Front gate"));
        } else {
            QCOMPARE(windowForm(), before);
        }
        if (fault == "100000 bytes")
            QCOMPARE(run.progressValue, 748);
    }

    // Escape after the whole reply has been parsed but before the dialog has handled the worker's
    // end: the read no longer counts, and the form stays as it was.
    void escapeBeforeTheCompletionRuns() {
        module->onCommand('{', {goodReply(Transfer::ReadBack)});
        const FormValues before = windowForm();
        auto dialog = std::make_unique<upload>(window->settings, window->ui->centralWidget, nullptr);
        dialog->show();
        QPointer<TransferThread> worker = dialog->worker();
        // No event is handled meanwhile: the worker's end waits in the queue.
        QDeadlineTimer deadline(5000);
        while (!worker->isFinished() && !deadline.hasExpired())
            QThread::msleep(5);
        QVERIFY(worker->isFinished());
        QKeyEvent escape(QEvent::KeyPress, Qt::Key_Escape, Qt::NoModifier);
        QCoreApplication::sendEvent(dialog.get(), &escape);
        QVERIFY(!dialog->isVisible());
        QCOMPARE(dialog->result(), int(QDialog::Rejected));

        QVERIFY(QTest::qWaitFor([&] { return TransferDriver::resultShown(dialog.get()); }, 1000));
        QCOMPARE(TransferDriver::message(dialog.get())->text(), QString::fromUtf8(textTable().upload.failure));
        QCOMPARE(windowForm(), before);
        QTest::qWait(2200);
        QCOMPARE(dialog->result(), int(QDialog::Rejected));
        dialog.reset();
        QVERIFY(worker.isNull());
    }
};

QTEST_MAIN(TestTransferFaults)
#include "tst_transferfaults.moc"
