#include "link/linksettings.h"
#include "link/portname.h"
#include "link/serialport.h"
#include "support/simulatedmodule.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QTest>

#include <fcntl.h>
#include <poll.h>
#include <sys/wait.h>
#include <termios.h>
#include <unistd.h>

#include <atomic>
#include <iostream>
#include <string>
#include <thread>
#include <vector>

namespace {

const char *const holdPortVariable = "TST_SERIALPORT_HOLD";

// The "other program" of the exclusivity test: this binary started again with the variable
// set holds the port open until its standard input closes.
int holdPort(const QString &portName) {
    SerialPort port;
    if (!port.open(portName, 0, 100))
        return 1;
    std::cout << "held" << std::endl;
    std::string line;
    std::getline(std::cin, line);
    port.close();
    return 0;
}

QByteArray allByteValues() {
    QByteArray bytes;
    for (int value = 0; value < 256; ++value)
        bytes.append(char(value));
    return bytes;
}

// This test binary started again as the other program, by fork and exec (QProcess's vfork-style
// start is not supported under ThreadSanitizer).
class HolderProcess {
public:
    ~HolderProcess() { finish(); }

    bool start(const QString &portName) {
        int toChild[2];
        int fromChild[2];
        if (::pipe2(toChild, O_CLOEXEC) != 0 || ::pipe2(fromChild, O_CLOEXEC) != 0)
            return false;
        const QByteArray program = QFile::encodeName(QCoreApplication::applicationFilePath());
        const QByteArray hold = QByteArray(holdPortVariable) + '=' + portName.toLatin1();
        std::vector<char *> environment;
        for (char **variable = environ; *variable; ++variable)
            environment.push_back(*variable);
        environment.push_back(const_cast<char *>(hold.constData()));
        environment.push_back(nullptr);
        char *const arguments[] = {const_cast<char *>(program.constData()), nullptr};

        pid = ::fork();
        if (pid == 0) {
            ::dup2(toChild[0], STDIN_FILENO);
            ::dup2(fromChild[1], STDOUT_FILENO);
            ::execve(program.constData(), arguments, environment.data());
            ::_exit(127);
        }
        ::close(toChild[0]);
        ::close(fromChild[1]);
        input = toChild[1];
        output = fromChild[0];
        if (pid < 0)
            return false;
        // The child says "held" once it has the port.
        pollfd ready{output, POLLIN, 0};
        char answer[5] = {};
        return ::poll(&ready, 1, 10000) == 1 && ::read(output, answer, 4) == 4 && QByteArray(answer) == "held";
    }

    // Closes the child's input, which makes it release the port and end; returns its exit code.
    int finish() {
        if (input >= 0)
            ::close(input);
        if (output >= 0)
            ::close(output);
        input = output = -1;
        int status = -1;
        if (pid > 0)
            ::waitpid(pid, &status, 0);
        pid = -1;
        return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    }

private:
    pid_t pid = -1;
    int input = -1;
    int output = -1;
};

qint64 timedRead(SerialPort &port, char &byte, bool &arrived) {
    QElapsedTimer clock;
    clock.start();
    arrived = port.readByte(byte);
    return clock.elapsed();
}

} // namespace

class TestSerialPort : public QObject {
    Q_OBJECT

private slots:
    void init() { qunsetenv("DOWNLOADER_PORT_DIR"); }

    void devicePaths_data() {
        QTest::addColumn<QString>("portDirectory");
        QTest::addColumn<QString>("portName");
        QTest::addColumn<QString>("path");

        QTest::newRow("first port") << ""
                                    << "COM1"
                                    << "/dev/ttyS0";
        QTest::newRow("above COM9") << ""
                                    << "COM12"
                                    << "/dev/ttyS11";
        QTest::newRow("port folder") << "/tmp/ports"
                                     << "COM3"
                                     << "/tmp/ports/COM3";
        QTest::newRow("port folder, above COM9") << "/tmp/ports"
                                                 << "COM12"
                                                 << "/tmp/ports/COM12";
        QTest::newRow("not a port") << ""
                                    << "LPT1"
                                    << "/dev/null/LPT1";
        QTest::newRow("not a port, port folder") << "/tmp/ports"
                                                 << "ttyS0"
                                                 << "/dev/null/ttyS0";
        QTest::newRow("COM0") << ""
                              << "COM0"
                              << "/dev/null/COM0";
        QTest::newRow("leading zero") << ""
                                      << "COM01"
                                      << "/dev/null/COM01";
        QTest::newRow("empty") << ""
                               << ""
                               << "/dev/null/";
        QTest::newRow("path in the name") << "/tmp/ports"
                                          << "COM1/../x"
                                          << "/dev/null/COM1/../x";
    }

    void devicePaths() {
        QFETCH(QString, portDirectory);
        QFETCH(QString, portName);
        QFETCH(QString, path);
        if (!portDirectory.isEmpty())
            qputenv("DOWNLOADER_PORT_DIR", portDirectory.toLocal8Bit());
        QCOMPARE(devicePathForPort(portName), path);
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

    // At 1200 baud the module has the last of 120 bytes written in a burst a second later; the
    // read time-out only starts then, so its answer is not missed.
    void readTimeoutStartsWhenTheLineHasCarriedTheWrites() {
        SimulatedModule module;
        QVERIFY(module.isValid());
        qputenv("DOWNLOADER_PORT_DIR", module.portDirectory().toLocal8Bit());
        module.receiveAtLineSpeed(true);
        module.onByteCount('x', 120, {"A"});
        SerialPort port;
        QVERIFY(port.open("COM1", 0, 300));
        QElapsedTimer clock;
        clock.start();
        for (int i = 0; i < 120; ++i)
            QVERIFY(port.writeByte('x'));
        QVERIFY2(clock.elapsed() < 300, qPrintable(QString::number(clock.elapsed())));
        // The line, not the terminal, sets the pace at which the module takes the bytes.
        QVERIFY(module.received().size() < 60);
        char byte = 0;
        bool arrived = false;
        timedRead(port, byte, arrived);
        QVERIFY(arrived);
        QCOMPARE(byte, 'A');
        QVERIFY2(clock.elapsed() >= 990 && clock.elapsed() < 1300, qPrintable(QString::number(clock.elapsed())));
        QCOMPARE(module.received(), QByteArray(120, 'x'));

        // On a line that has carried everything, the time-out is the plain 300 ms again.
        const qint64 elapsed = timedRead(port, byte, arrived);
        QVERIFY(!arrived);
        QVERIFY2(elapsed >= 290 && elapsed < 600, qPrintable(QString::number(elapsed)));
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
        QTest::newRow("held by another program") << "other";
    }

    void secondOpenFails() {
        QFETCH(QString, holder);
        SimulatedModule module;
        QVERIFY(module.isValid());
        qputenv("DOWNLOADER_PORT_DIR", module.portDirectory().toLocal8Bit());

        SerialPort first;
        HolderProcess other;
        if (holder == "this")
            QVERIFY(first.open("COM1", 0, 100));
        else
            QVERIFY(other.start("COM1"));

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

    void closeIsHarmlessTwice() {
        SimulatedModule module;
        QVERIFY(module.isValid());
        qputenv("DOWNLOADER_PORT_DIR", module.portDirectory().toLocal8Bit());
        SerialPort port;
        port.close();
        QVERIFY(port.open("COM1", 0, 100));
        port.close();
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

int main(int argc, char **argv) {
    if (qEnvironmentVariableIsSet(holdPortVariable))
        return holdPort(qEnvironmentVariable(holdPortVariable));
    QCoreApplication app(argc, argv);
    TestSerialPort test;
    return QTest::qExec(&test, argc, argv);
}

#include "tst_serialport.moc"
