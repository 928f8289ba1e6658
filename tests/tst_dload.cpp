#include "link/dload.h"
#include "link/serialport.h"
#include "link/transferthread.h"
#include "support/buildtexts.h"
#include "support/deadline.h"
#include "support/simulatedmodule.h"
#include "support/transferdriver.h"

#include <QDialogButtonBox>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QLabel>
#include <QPointer>
#include <QProgressBar>
#include <QPushButton>
#include <QTest>
#include <QTimer>

#include <termios.h>

#include <memory>

using TransferDriver::bar;
using TransferDriver::buttons;
using TransferDriver::message;

namespace {

constexpr auto expectedTexts = &BuildTexts::download;

// 56 fields of 16 characters joined by '|': 951 characters, like a composed configuration text.
QString configurationText(QChar separator = QLatin1Char('|')) {
    QStringList fields;
    for (int field = 1; field <= 56; ++field)
        fields << QStringLiteral("F%1:").arg(field, 2, 10, QLatin1Char('0')).leftJustified(16, QChar('a' + field % 26));
    return fields.join(separator);
}

// What must reach the module for a text: '~', '}', each part as Latin-1 (0 beyond it) with
// CR in place of each separator, and a CR after the last part.
QByteArray expectedWire(const QString &text, QChar separator) {
    QByteArray wire("~}");
    for (const QChar character : text) {
        if (character == separator)
            wire.append('\r');
        else
            wire.append(character.unicode() > 0xFF ? char(0) : char(character.unicode()));
    }
    wire.append('\r');
    return wire;
}

// Download workers alive in this process, found by the thread name Qt gives them (their class).
int downloadThreadCount() {
    int count = 0;
    const QDir tasks("/proc/self/task");
    for (const QString &task : tasks.entryList(QDir::Dirs | QDir::NoDotAndDotDot)) {
        QFile name(tasks.filePath(task + "/comm"));
        if (name.open(QIODevice::ReadOnly) && name.readAll().trimmed() == "dlThread")
            ++count;
    }
    return count;
}

} // namespace

class TestDload : public QObject, public TransferDriver::ModuleFixture {
    Q_OBJECT

private:
    LinkSettings settings;

    // Waits until the dialog shows its result: the button box is enabled then, not before.
    static bool waitForResult(QDialog &dialog, int timeoutMs = 10000) {
        return QTest::qWaitFor([&] { return buttons(&dialog)->isEnabled(); }, timeoutMs);
    }

    // A module that answers the download command with 'R' and a byte, and the lineCount-th CR
    // with ack.
    void answerDownload(int lineCount, const QByteArray &ack = "OK", char afterR = '\x05') {
        module->onCommand('}', {QByteArray("R") + afterR});
        module->onByteCount('\r', lineCount, {ack});
    }

    void verifyResultShown(QDialog &dialog, bool success) {
        QCOMPARE(message(&dialog)->text(), success ? expectedTexts().success : expectedTexts().failure);
        QVERIFY(buttons(&dialog)->isEnabled());
        QCOMPARE(buttons(&dialog)->standardButtons(), QDialogButtonBox::Ok);
    }

private slots:
    void init() {
        startModule();
        settings = LinkSettings();
        settings.dataText = configurationText();
    }

    void cleanup() { module.reset(); }

    void formAndTexts() {
        dload dialog(settings, nullptr);
        // The worker's progress reaches the bar only through the event loop.
        QCOMPARE(bar(&dialog)->value(), 24);
        QCOMPARE(dialog.objectName(), QString("dload"));
        QCOMPARE(dialog.size(), QSize(262, 118));
        QCOMPARE(dialog.windowTitle(), expectedTexts().title);

        QDialogButtonBox *box = buttons(&dialog);
        QCOMPARE(box->geometry(), QRect(170, 90, 81, 21));
        QVERIFY(!box->isEnabled());
        QCOMPARE(box->standardButtons(), QDialogButtonBox::Cancel);
        QCOMPARE(box->orientation(), Qt::Horizontal);
        QVERIFY(box->centerButtons());

        auto *picture = dialog.findChild<QLabel *>("label");
        QCOMPARE(picture->geometry(), QRect(10, 10, 71, 71));
        QVERIFY(!picture->pixmap().isNull());
        QVERIFY(picture->text().isEmpty());

        QCOMPARE(message(&dialog)->geometry(), QRect(90, 20, 151, 51));
        QCOMPARE(message(&dialog)->alignment(), Qt::AlignCenter);
        QVERIFY(message(&dialog)->wordWrap());
        QCOMPARE(message(&dialog)->text(), expectedTexts().running);
        QCOMPARE(bar(&dialog)->geometry(), QRect(10, 90, 151, 21));
        QVERIFY(waitForResult(dialog));
    }

    void wireBytes_data() {
        QTest::addColumn<QString>("text");
        QTest::addColumn<char>("separator");
        QTest::addColumn<int>("lines");

        const QString text = configurationText();
        QTest::newRow("56 fields") << text << '|' << 56;
        QString withSeparatorInside = text;
        withSeparatorInside[20] = QLatin1Char('|');
        QTest::newRow("separator inside a field") << withSeparatorInside << '|' << 57;
        QTest::newRow("empty part") << QString("abc||def") << '|' << 3;
        QTest::newRow("check suffix after the last field") << text + "5" << '|' << 56;
        QTest::newRow("other separator") << configurationText(';').replace(30, 1, "|") << ';' << 56;
        QTest::newRow("Latin-1, and 0 beyond it") << QString::fromUtf8("é|Ő|\u00ff") << '|' << 3;
    }

    // The exact bytes on the wire, and the bar: maximum length + 10, full at the end.
    void wireBytes() {
        QFETCH(QString, text);
        QFETCH(char, separator);
        QFETCH(int, lines);
        settings.dataText = text;
        settings.downloadSeparator = separator;
        settings.baudrate = 9600;
        answerDownload(lines);

        dload dialog(settings, nullptr);
        QVERIFY(waitForResult(dialog));
        verifyResultShown(dialog, true);
        const QByteArray expected = expectedWire(text, QLatin1Char(separator));
        QVERIFY(module->waitForReceived(int(expected.size())));
        QCOMPARE(module->received(), expected);
        QCOMPARE(module->receivedCount('\r'), lines);
        QCOMPARE(bar(&dialog)->minimum(), 0);
        QCOMPARE(bar(&dialog)->maximum(), int(text.size()) + 10);
        QCOMPARE(bar(&dialog)->value(), bar(&dialog)->maximum());

        const std::optional<termios> line = module->lineSettingsAtFirstByte();
        QVERIFY(line);
        QCOMPARE(cfgetospeed(&*line), speed_t(B1200));
    }

    void acknowledgement_data() {
        QTest::addColumn<QByteArray>("reply");
        QTest::addColumn<char>("ackChar");
        QTest::addColumn<char>("afterR");
        QTest::addColumn<bool>("success");

        QTest::newRow("first byte") << QByteArray("OK") << 'O' << '\x05' << true;
        QTest::newRow("second byte") << QByteArray("xO") << 'O' << '\x05' << true;
        QTest::newRow("both") << QByteArray("OO") << 'O' << '\x05' << true;
        QTest::newRow("neither") << QByteArray("xy") << 'O' << '\x05' << false;
        QTest::newRow("byte after R is no acknowledgement") << QByteArray("xy") << 'O' << 'O' << false;
        QTest::newRow("other ack character") << QByteArray("xK") << 'K' << '\x05' << true;
        QTest::newRow("default ack not taken for another") << QByteArray("OO") << 'K' << '\x05' << false;
    }

    void acknowledgement() {
        QFETCH(QByteArray, reply);
        QFETCH(char, ackChar);
        QFETCH(char, afterR);
        QFETCH(bool, success);
        settings.ackChar = ackChar;
        answerDownload(56, reply, afterR);

        dload dialog(settings, nullptr);
        QVERIFY(waitForResult(dialog));
        verifyResultShown(dialog, success);
        QCOMPARE(dialog.worker()->succeeded(), success);
    }

    // After a success the dialog accepts itself 2000 ms after the result.
    void successAcceptsItselfAfterTwoSeconds() {
        answerDownload(56);
        dload dialog(settings, nullptr);
        QElapsedTimer clock;
        clock.start();
        qint64 resultShownAt = -1;
        QTimer watch;
        connect(&watch, &QTimer::timeout, [&] {
            if (resultShownAt < 0 && buttons(&dialog)->isEnabled())
                resultShownAt = clock.elapsed();
        });
        watch.start(5);
        // A dialog that never ends by itself would wait for a click that never comes.
        const Deadline deadline(15000, "a successful download's dialog");
        QCOMPARE(dialog.exec(), int(QDialog::Accepted));
        const qint64 shownFor = clock.elapsed() - resultShownAt;
        QVERIFY(resultShownAt >= 0);
        QVERIFY2(shownFor >= 1950 && shownFor < 2600, qPrintable(QString::number(shownFor)));
        QCOMPARE(message(&dialog)->text(), expectedTexts().success);
    }

    void failures_data() {
        QTest::addColumn<QString>("fault");
        QTest::addColumn<QByteArray>("received");
        QTest::addColumn<int>("minimumMs");
        QTest::addColumn<int>("maximumMs");

        QTest::newRow("wrong first byte") << "wrong" << QByteArray("~}") << 0 << 1000;
        QTest::newRow("silent module, the fixed 3 s") << "silent" << QByteArray("~}") << 2950 << 4000;
        QTest::newRow("port missing") << "missing" << QByteArray() << 0 << 1000;
        QTest::newRow("port held by another open") << "held" << QByteArray() << 0 << 1000;
        QTest::newRow("module vanishes mid-exchange") << "vanish" << QByteArray() << 0 << 1000;
    }

    void failures() {
        QFETCH(QString, fault);
        QFETCH(QByteArray, received);
        QFETCH(int, minimumMs);
        QFETCH(int, maximumMs);
        SerialPort holder;
        if (fault == "wrong")
            module->onCommand('}', {"X\x05"});
        if (fault == "missing")
            settings.port = "COM7";
        if (fault == "held")
            QVERIFY(holder.open(settings.port, 0, 100));
        if (fault == "missing" || fault == "held")
            QTest::ignoreMessage(QtDebugMsg, "unable to open comport");
        if (fault == "vanish") {
            answerDownload(56);
            module->vanishAfterReceiving(300);
        }

        QElapsedTimer clock;
        clock.start();
        dload dialog(settings, nullptr);
        QVERIFY(waitForResult(dialog));
        const qint64 elapsed = clock.elapsed();
        QVERIFY2(elapsed >= minimumMs && elapsed < maximumMs, qPrintable(QString::number(elapsed)));
        verifyResultShown(dialog, false);
        QVERIFY(!dialog.worker()->succeeded());
        if (fault == "vanish") {
            QVERIFY(module->hasVanished());
            QCOMPARE(module->received().size(), 300);
        } else {
            QTest::qWait(50);
            QCOMPARE(module->received(), received);
        }
    }

    // A failure leaves the dialog up until Ok, which accepts it.
    void failureWaitsForOk() {
        module->onCommand('}', {"X"});
        dload dialog(settings, nullptr);
        bool stillUp = false;
        QTimer::singleShot(0, &dialog, [&] {
            QVERIFY(waitForResult(dialog));
            QTest::qWait(2300);
            stillUp = dialog.isVisible();
            buttons(&dialog)->button(QDialogButtonBox::Ok)->click();
        });
        QCOMPARE(dialog.exec(), int(QDialog::Accepted));
        QVERIFY(stillUp);
        QCOMPARE(message(&dialog)->text(), expectedTexts().failure);
    }

    // Escape while the worker waits for the module: the dialog ends at once, the worker stops,
    // the port is free again and no thread is left behind.
    void escapeDuringTransfer() {
        auto dialog = std::make_unique<dload>(settings, nullptr);
        QPointer<TransferThread> worker = dialog->worker();
        QElapsedTimer clock;
        QTimer::singleShot(300, dialog.get(), [&] {
            QVERIFY(module->waitForReceived(2, 0));
            QVERIFY(worker->isRunning());
            QCOMPARE(downloadThreadCount(), 1);
            clock.start();
            QTest::keyClick(dialog.get(), Qt::Key_Escape);
        });
        QCOMPARE(dialog->exec(), int(QDialog::Rejected));
        QVERIFY2(clock.elapsed() < 100, qPrintable(QString::number(clock.elapsed())));
        dialog.reset();
        QVERIFY2(clock.elapsed() < 500, qPrintable(QString::number(clock.elapsed())));
        QVERIFY(worker.isNull());
        QCOMPARE(module->received(), QByteArray("~}"));

        SerialPort again;
        QVERIFY(again.open(settings.port, 0, 100));
        again.close();
        QTRY_COMPARE(downloadThreadCount(), 0);
    }

    void destroyedWorkerLeavesNoThread() {
        answerDownload(56);
        auto dialog = std::make_unique<dload>(settings, nullptr);
        QPointer<TransferThread> worker = dialog->worker();
        QVERIFY(waitForResult(*dialog));
        QVERIFY(worker->isFinished());
        dialog.reset();
        QVERIFY(worker.isNull());
        QTRY_COMPARE(downloadThreadCount(), 0);
    }

    void closeRequestsRefused() {
        module->onCommand('}', {"R\x05", false, 400});
        module->onByteCount('\r', 56, {"OK"});
        dload dialog(settings, nullptr);
        dialog.show();
        QVERIFY(QTest::qWaitForWindowExposed(&dialog));
        QVERIFY(!dialog.close());
        QVERIFY(dialog.isVisible());
        QVERIFY(!buttons(&dialog)->isEnabled());
        QVERIFY(waitForResult(dialog));
        QVERIFY(!dialog.close());
        QVERIFY(dialog.isVisible());
        verifyResultShown(dialog, true);
        dialog.reject();
    }

    void languageChangeRestoresTheRunningText() {
        module->onCommand('}', {"X"});
        dload dialog(settings, nullptr);
        QVERIFY(waitForResult(dialog));
        QCOMPARE(message(&dialog)->text(), expectedTexts().failure);
        dialog.setWindowTitle("changed");
        QEvent languageChange(QEvent::LanguageChange);
        QCoreApplication::sendEvent(&dialog, &languageChange);
        QCOMPARE(message(&dialog)->text(), expectedTexts().running);
        QCOMPARE(dialog.windowTitle(), expectedTexts().title);
        QVERIFY(dialog.findChild<QLabel *>("label")->text().isEmpty());
    }
};

QTEST_MAIN(TestDload)
#include "tst_dload.moc"
