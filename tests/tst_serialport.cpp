#include "link/linksettings.h"
#include "link/portlocks.h"
#include "link/portname.h"
#include "link/serialport.h"
#include "support/deadline.h"
#include "support/portholder.h"
#include "support/pseudoterminal.h"
#include "support/simulatedmodule.h"

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QScopeGuard>
#include <QTemporaryDir>
#include <QTest>

#include <fcntl.h>
#include <termios.h>
#include <unistd.h>

#include <atomic>
#include <thread>

namespace {

QByteArray allByteValues() {
    QByteArray bytes;
    for (int value = 0; value < 256; ++value)
        bytes.append(char(value));
    return bytes;
}

// The program on the module's port, both writing and taking bytes at 1200 baud.
void useLineAt1200Baud(SimulatedModule &module) {
    qputenv("DOWNLOADER_PORT_DIR", module.portDirectory().toLocal8Bit());
    SerialPort::setByteTime(SerialPort::byteTimeAt1200Baud);
    module.receiveAtLineSpeed(true);
}

qint64 timedRead(SerialPort &port, char &byte, bool &arrived) {
    const Deadline deadline(5000, "a read");
    QElapsedTimer clock;
    clock.start();
    arrived = port.readByte(byte);
    return clock.elapsed();
}

} // namespace

class TestSerialPort : public QObject {
    Q_OBJECT

private slots:
    void init() {
        qunsetenv("DOWNLOADER_PORT_DIR");
        SerialPort::setByteTime(fastLineByteTime);
    }

    // "<folder>" stands for a real folder; "folder" is the same one, relative to the working
    // directory.
    void devicePaths_data() {
        QTest::addColumn<QString>("portDirectory");
        QTest::addColumn<QString>("portName");
        QTest::addColumn<QString>("path");
        QTest::addColumn<bool>("warned");

        const auto row = [](const char *name, const char *directory, const char *port, const char *path,
                            bool warned = false) {
            QTest::newRow(name) << QString(directory) << QString(port) << QString(path) << warned;
        };
        row("first port", "", "COM1", "/dev/ttyS0");
        row("above COM9", "", "COM12", "/dev/ttyS11");
        row("port folder", "<folder>", "COM3", "<folder>/COM3");
        row("port folder, above COM9", "<folder>", "COM12", "<folder>/COM12");
        row("relative port folder", "folder", "COM3", "<folder>/COM3");
        row("port folder that does not exist", "<folder>/missing", "COM3", "/dev/ttyS2", true);
        row("port folder that is a file", "<folder>/file", "COM3", "/dev/ttyS2", true);
        row("not a port", "", "LPT1", "/dev/null/LPT1");
        row("not a port, port folder", "<folder>", "ttyS0", "/dev/null/ttyS0");
        row("COM0", "", "COM0", "/dev/null/COM0");
        row("leading zero", "", "COM01", "/dev/null/COM01");
        row("empty", "", "", "/dev/null/");
        row("path in the name", "<folder>", "COM1/../x", "/dev/null/COM1/../x");
    }

    void devicePaths() {
        QFETCH(QString, portDirectory);
        QFETCH(QString, portName);
        QFETCH(QString, path);
        QFETCH(bool, warned);
        QTemporaryDir workDir;
        QVERIFY(workDir.isValid());
        const QString folder = QDir(workDir.path()).filePath(QStringLiteral("folder"));
        QVERIFY(QDir().mkpath(folder));
        QFile file(QDir(folder).filePath(QStringLiteral("file")));
        QVERIFY(file.open(QIODevice::WriteOnly));
        const QString previousDir = QDir::currentPath();
        QVERIFY(QDir::setCurrent(workDir.path()));

        if (!portDirectory.isEmpty())
            qputenv("DOWNLOADER_PORT_DIR", QFile::encodeName(portDirectory.replace("<folder>", folder)));
        if (warned) {
            QTest::ignoreMessage(QtWarningMsg, qPrintable(QStringLiteral("DOWNLOADER_PORT_DIR=%1 names no folder; "
                                                                         "using /dev/ttyS*")
                                                              .arg(portDirectory)));
        }
        const QString result = devicePathForPort(portName);
        QDir::setCurrent(previousDir);
        QCOMPARE(result, path.replace("<folder>", folder));
    }

    void bytesBothWays_data() {
        QTest::addColumn<QString>("portName");
        QTest::newRow("COM1") << "COM1";
        QTest::newRow("COM12") << "COM12";
    }

    void bytesBothWays() {
        QFETCH(QString, portName);
        SimulatedModule module(portName);
        QVERIFY(module.isValid());
        qputenv("DOWNLOADER_PORT_DIR", module.portDirectory().toLocal8Bit());

        SerialPort port;
        QVERIFY(port.open(portName, 0, 1000));
        QVERIFY(port.isOpen());
        const QByteArray bytes = allByteValues();
        for (char byte : bytes)
            QVERIFY(port.writeByte(byte));
        QVERIFY(module.waitForReceived(int(bytes.size())));
        QCOMPARE(module.received(), bytes);

        module.send(bytes);
        QByteArray read;
        char byte = 0;
        while (read.size() < bytes.size() && port.readByte(byte))
            read.append(byte);
        QCOMPARE(read, bytes);
        port.close();
        QVERIFY(!port.isOpen());
    }

    void readTimeout_data() {
        QTest::addColumn<quint32>("multiplier");
        QTest::addColumn<quint32>("constant");
        QTest::addColumn<bool>("withStopFlag");

        QTest::newRow("constant only") << 0u << 300u << false;
        QTest::newRow("multiplier only") << 300u << 0u << false;
        QTest::newRow("both add up") << 150u << 150u << false;
        QTest::newRow("sliced while a stop flag is watched") << 0u << 300u << true;
    }

    // A silent module: each read gives up after multiplier + constant ms, and leaves c alone.
    void readTimeout() {
        QFETCH(quint32, multiplier);
        QFETCH(quint32, constant);
        QFETCH(bool, withStopFlag);
        SimulatedModule module;
        QVERIFY(module.isValid());
        qputenv("DOWNLOADER_PORT_DIR", module.portDirectory().toLocal8Bit());

        SerialPort port;
        std::atomic_bool stop{false};
        if (withStopFlag)
            port.setStopFlag(&stop);
        QVERIFY(port.open("COM1", multiplier, constant));
        for (int read = 0; read < 2; ++read) {
            char byte = 'x';
            bool arrived = true;
            const qint64 elapsed = timedRead(port, byte, arrived);
            QVERIFY(!arrived);
            QCOMPARE(byte, 'x');
            QVERIFY2(elapsed >= 290 && elapsed < 600, qPrintable(QString::number(elapsed)));
        }
    }

    void readReturnsAsSoonAsAByteIsThere() {
        SimulatedModule module;
        QVERIFY(module.isValid());
        qputenv("DOWNLOADER_PORT_DIR", module.portDirectory().toLocal8Bit());
        SerialPort port;
        QVERIFY(port.open("COM1", 0, 3000));

        // Already buffered.
        module.send("A");
        QTest::qWait(50);
        char byte = 0;
        bool arrived = false;
        QVERIFY(timedRead(port, byte, arrived) < 100);
        QVERIFY(arrived);
        QCOMPARE(byte, 'A');

        // Arriving while the read waits.
        module.onCommand('[', {"B", false, 200, false});
        QVERIFY(port.writeByte('~'));
        QVERIFY(port.writeByte('['));
        const qint64 elapsed = timedRead(port, byte, arrived);
        QVERIFY(arrived);
        QCOMPARE(byte, 'B');
        QVERIFY2(elapsed >= 150 && elapsed < 1000, qPrintable(QString::number(elapsed)));
    }

    // Writing 120 bytes at 1200 baud takes a second: no write returns before the line could have
    // carried all but two of the bytes written, counted from before the first write, so a busy
    // machine that runs the test late cannot make the program look ahead. The module has them all
    // when the answer comes; the read after it waits its own 300 ms.
    void writesKeepPaceWithTheLine() {
        SimulatedModule module;
        QVERIFY(module.isValid());
        useLineAt1200Baud(module);
        module.onByteCount('x', 120, {"A"});
        SerialPort port;
        QVERIFY(port.open("COM1", 0, 300));
        QElapsedTimer clock;
        clock.start();
        int largestLead = 0;
        for (int written = 1; written <= 120; ++written) {
            QVERIFY(port.writeByte('x'));
            largestLead = qMax(largestLead, written - bytesCarriedSince(clock));
        }
        const qint64 writing = clock.elapsed();
        QVERIFY2(largestLead <= 2, qPrintable(QString::number(largestLead)));
        QVERIFY2(writing >= 980 && writing < 3000, qPrintable(QString::number(writing)));

        char byte = 0;
        bool arrived = false;
        timedRead(port, byte, arrived);
        QVERIFY2(arrived, "the answer comes once the module has taken the last byte");
        QCOMPARE(byte, 'A');
        QCOMPARE(module.received(), QByteArray(120, 'x'));
        const qint64 elapsed = timedRead(port, byte, arrived);
        QVERIFY(!arrived);
        QVERIFY2(elapsed >= 290 && elapsed < 1500, qPrintable(QString::number(elapsed)));
    }

    void writesAndCloseFollowTheLine_data() {
        QTest::addColumn<int>("bytes");
        QTest::addColumn<int>("heldMs"); // the terminal's output held, as a UART's by flow control
        QTest::addColumn<int>("writtenFromMs");
        QTest::addColumn<int>("writtenBeforeMs");
        QTest::addColumn<int>("closedFromMs");
        // The third byte goes when the first has been carried: after one byte time, well before
        // two; the close waits until all three have been carried, and its guard after them.
        QTest::newRow("three bytes") << 3 << 0 << 999 << 1500 << 3002;
        // A byte taken late is on the line from when it was taken, not from when it was written.
        QTest::newRow("a byte taken late") << 1 << 500 << 499 << 3000 << 1502;
    }

    // At a second a byte, a write waits only until the line is one byte behind, never until it has
    // drained, and a close waits until the line has carried what was handed over, so that the last
    // bytes do not leave at the speed the close puts back: until then a look at the device finds it
    // held and at 1200 baud. Times count from before the first write.
    void writesAndCloseFollowTheLine() {
        QFETCH(int, bytes);
        QFETCH(int, heldMs);
        QFETCH(int, writtenFromMs);
        QFETCH(int, writtenBeforeMs);
        QFETCH(int, closedFromMs);
        SimulatedModule module;
        QVERIFY(module.isValid());
        qputenv("DOWNLOADER_PORT_DIR", module.portDirectory().toLocal8Bit());
        SerialPort::setByteTime(std::chrono::seconds(1));
        // Opened before the port, whose exclusive mode would refuse it, at the speed the close puts
        // back.
        const int device =
            ::open(QFile::encodeName(module.devicePath()).constData(), O_RDWR | O_NOCTTY | O_NONBLOCK | O_CLOEXEC);
        QVERIFY(device >= 0);
        const auto closeDevice = qScopeGuard([device] { ::close(device); });
        termios before{};
        QCOMPARE(::tcgetattr(device, &before), 0);
        QCOMPARE(::cfsetspeed(&before, B9600), 0);
        QCOMPARE(::tcsetattr(device, TCSANOW, &before), 0);
        SerialPort port;
        QVERIFY(port.open("COM1", 0, 100));
        if (heldMs > 0)
            QCOMPARE(::tcflow(device, TCOOFF), 0);
        QElapsedTimer clock;
        clock.start();
        const std::jthread release([device, heldMs] {
            std::this_thread::sleep_for(std::chrono::milliseconds(heldMs));
            ::tcflow(device, TCOON);
        });
        // When the device was first seen let go or at another speed, counted after the look.
        std::atomic<qint64> releasedSeenAt{-1};
        std::jthread watcher([&](std::stop_token closed) {
            for (bool last = false; !last; std::this_thread::sleep_for(std::chrono::milliseconds(1))) {
                last = closed.stop_requested();
                termios line{};
                const bool kept = PortLocks::holderOfDescriptor(device) != PortLocks::Holder::None &&
                                  ::tcgetattr(device, &line) == 0 && cfgetospeed(&line) == B1200;
                if (!kept) {
                    releasedSeenAt = clock.elapsed();
                    return;
                }
            }
        });
        for (int written = 0; written < bytes; ++written)
            QVERIFY(port.writeByte('x'));
        const qint64 writing = clock.elapsed();
        QVERIFY2(writing >= writtenFromMs && writing < writtenBeforeMs, qPrintable(QString::number(writing)));
        port.close();
        const qint64 closed = clock.elapsed();
        watcher.request_stop();
        watcher.join();
        QVERIFY2(closed >= closedFromMs && closed < 6000, qPrintable(QString::number(closed)));
        QVERIFY2(releasedSeenAt >= closedFromMs, qPrintable(QString::number(releasedSeenAt)));
        termios after{};
        QCOMPARE(::tcgetattr(device, &after), 0);
        QCOMPARE(cfgetospeed(&after), speed_t(B9600));
    }

    // A read's time-out counts from the start of the read, not from when the line will have carried
    // what was written: two bytes at 200 ms a byte, then a 300 ms read on a silent line, end well
    // before the 700 ms that counting from the line's end takes.
    void readTimeoutCountsFromTheRead() {
        SimulatedModule module;
        QVERIFY(module.isValid());
        qputenv("DOWNLOADER_PORT_DIR", module.portDirectory().toLocal8Bit());
        SerialPort::setByteTime(std::chrono::milliseconds(200));
        SerialPort port;
        QVERIFY(port.open("COM1", 0, 300));
        QElapsedTimer clock;
        clock.start();
        QVERIFY(port.writeByte('x'));
        QVERIFY(port.writeByte('x'));
        char byte = 0;
        bool arrived = true;
        const qint64 reading = timedRead(port, byte, arrived);
        QVERIFY(!arrived);
        QVERIFY2(reading >= 290, qPrintable(QString::number(reading)));
        QVERIFY2(clock.elapsed() < 500, qPrintable(QString::number(clock.elapsed())));
    }

    // After a stop no byte is written, the close waits at most for the bytes on their way, and
    // nothing reaches the module but what was written before the stop: a module scheduled late may
    // still take bytes that the terminal had handed on before the close.
    void closeSilencesTheLine() {
        SimulatedModule module;
        QVERIFY(module.isValid());
        useLineAt1200Baud(module);
        SerialPort port;
        std::atomic_bool stop{false};
        port.setStopFlag(&stop);
        QVERIFY(port.open("COM1", 0, 300));
        std::thread stopper([&stop] {
            std::this_thread::sleep_for(std::chrono::milliseconds(300));
            stop = true;
        });
        QElapsedTimer clock;
        clock.start();
        int written = 0;
        {
            const Deadline deadline(3000, "writing after a stop");
            while (port.writeByte('x'))
                ++written;
        }
        stopper.join();
        QVERIFY2(written >= 10 && written <= bytesCarriedSince(clock) + 2, qPrintable(QString::number(written)));
        QVERIFY(!port.writeByte('x'));
        const qint64 stoppedAt = clock.elapsed();
        port.close();
        QVERIFY2(clock.elapsed() - stoppedAt < 500, qPrintable(QString::number(clock.elapsed() - stoppedAt)));
        QTest::qWait(200);
        QVERIFY2(module.bytesTaken() <= written, qPrintable(QString::number(module.bytesTaken())));
    }

    // The close tells the terminal to discard what it has not carried yet: with nothing paced, a
    // hundred bytes are still on their way when it comes.
    void closeDiscardsWhatTheLineHasNotCarried() {
        PublishedTerminal terminal; // nobody reads it until the port is closed
        QVERIFY(terminal.isValid());
        QVERIFY(terminal.reportDiscards());
        SerialPort::setByteTime(std::chrono::microseconds(0));
        SerialPort port;
        QVERIFY(port.open("COM1", 0, 100));
        {
            const Deadline deadline(5000, "writing 100 bytes");
            for (int written = 0; written < 100; ++written)
                QVERIFY(port.writeByte('x'));
        }
        port.close();
        QVERIFY(terminal.readAll().size() <= 100);
        QVERIFY(terminal.discardReported());
    }

    void stopFlagCutsAWaitShort() {
        SimulatedModule module;
        QVERIFY(module.isValid());
        qputenv("DOWNLOADER_PORT_DIR", module.portDirectory().toLocal8Bit());
        SerialPort port;
        std::atomic_bool stop{false};
        port.setStopFlag(&stop);
        QVERIFY(port.open("COM1", 0, 5000));

        std::thread stopper([&stop] {
            std::this_thread::sleep_for(std::chrono::milliseconds(150));
            stop = true;
        });
        char byte = 0;
        bool arrived = true;
        const qint64 elapsed = timedRead(port, byte, arrived);
        stopper.join();
        QVERIFY(!arrived);
        QVERIFY2(elapsed >= 140 && elapsed < 500, qPrintable(QString::number(elapsed)));
        // While the flag stays set, a read with nothing buffered gives up at once.
        QVERIFY(timedRead(port, byte, arrived) < 50);
        QVERIFY(!arrived);
    }

    // The line is 1200 baud 8N1 without flow control; the baud rate of the settings never
    // reaches the port.
    void lineIs1200Baud8N1() {
        SimulatedModule module;
        QVERIFY(module.isValid());
        qputenv("DOWNLOADER_PORT_DIR", module.portDirectory().toLocal8Bit());
        LinkSettings settings;
        settings.baudrate = 9600;

        SerialPort port;
        QVERIFY(port.open(settings.port, 0, 100));
        const termios line = module.lineSettings();
        QCOMPARE(cfgetospeed(&line), speed_t(B1200));
        QCOMPARE(cfgetispeed(&line), speed_t(B1200));
        QCOMPARE(line.c_cflag & CSIZE, tcflag_t(CS8));
        QCOMPARE(line.c_cflag & PARENB, tcflag_t(0));
        QCOMPARE(line.c_cflag & CSTOPB, tcflag_t(0));
        QCOMPARE(line.c_cflag & CRTSCTS, tcflag_t(0));
        QCOMPARE(line.c_iflag & (IXON | IXOFF), tcflag_t(0));
    }

    void secondOpenFails_data() {
        QTest::addColumn<QString>("holder");
        QTest::newRow("held by this program") << "this";
        QTest::newRow("device held by another program") << "other";
    }

    void secondOpenFails() {
        QFETCH(QString, holder);
        SimulatedModule module;
        QVERIFY(module.isValid());
        qputenv("DOWNLOADER_PORT_DIR", module.portDirectory().toLocal8Bit());

        SerialPort first;
        PortHolder other;
        if (holder == "this")
            QVERIFY(first.open("COM1", 0, 100));
        else
            QVERIFY(other.start(module.devicePath()));

        QVERIFY(!SerialPort::probe("COM1"));
        SerialPort second;
        QTest::ignoreMessage(QtDebugMsg, "unable to open comport");
        QVERIFY(!second.open("COM1", 0, 100));
        QVERIFY(!second.isOpen());
        QVERIFY(!second.writeByte('~'));
        QCOMPARE(module.received(), QByteArray());

        // Released, the port opens again at once.
        if (holder == "this")
            first.close();
        else
            QCOMPARE(other.finish(), 0);
        QVERIFY(SerialPort::probe("COM1"));
        QVERIFY(second.open("COM1", 0, 100));
    }

    void missingPortFails_data() {
        QTest::addColumn<QString>("portName");
        QTest::newRow("no such link") << "COM9";
        QTest::newRow("not a port name") << "LPT1";
    }

    void missingPortFails() {
        QFETCH(QString, portName);
        SimulatedModule module;
        QVERIFY(module.isValid());
        qputenv("DOWNLOADER_PORT_DIR", module.portDirectory().toLocal8Bit());
        QVERIFY(!SerialPort::probe(portName));
        SerialPort port;
        QTest::ignoreMessage(QtDebugMsg, "unable to open comport");
        QVERIFY(!port.open(portName, 0, 100));
        QVERIFY(!port.isOpen());
        char byte = 0;
        QVERIFY(!port.readByte(byte));
        port.close();
    }

    // With nothing written, a close does not wait, even at a line of a second a byte.
    void closeIsHarmlessTwice() {
        SimulatedModule module;
        QVERIFY(module.isValid());
        qputenv("DOWNLOADER_PORT_DIR", module.portDirectory().toLocal8Bit());
        SerialPort::setByteTime(std::chrono::seconds(1));
        SerialPort port;
        port.close();
        QVERIFY(port.open("COM1", 0, 100));
        QElapsedTimer clock;
        clock.start();
        port.close();
        QVERIFY2(clock.elapsed() < 500, qPrintable(QString::number(clock.elapsed())));
        port.close();
        QVERIFY(!port.isOpen());
        QVERIFY(!port.writeByte('x'));
        QVERIFY(SerialPort::probe("COM1"));
    }

    // A module that goes away mid-exchange fails reads at once instead of waiting them out.
    void vanishedModuleFailsAtOnce() {
        SimulatedModule module;
        QVERIFY(module.isValid());
        qputenv("DOWNLOADER_PORT_DIR", module.portDirectory().toLocal8Bit());
        module.vanishAfterReceiving(2);
        SerialPort port;
        QVERIFY(port.open("COM1", 0, 3000));
        QVERIFY(port.writeByte('~'));
        QVERIFY(port.writeByte('}'));
        QTRY_VERIFY(module.hasVanished());
        char byte = 0;
        bool arrived = true;
        QVERIFY(timedRead(port, byte, arrived) < 500);
        QVERIFY(!arrived);
        QVERIFY(timedRead(port, byte, arrived) < 500);
        port.close();
    }
};

QTEST_GUILESS_MAIN(TestSerialPort)

#include "tst_serialport.moc"
