#include "dialogs/setcom.h"
#include "link/serialport.h"
#include "mainwindow/mainwindow.h"
#include "support/modal.h"
#include "support/portholder.h"
#include "support/simulatedmodule.h"

#include <QComboBox>
#include <QDialogButtonBox>
#include <QFile>
#include <QLabel>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>

#include <fcntl.h>
#include <stdlib.h>
#include <unistd.h>

namespace {

// A pseudo-terminal whose device stands in for a serial port; the master side stays open for
// the life of the object.
class PseudoTerminal {
public:
    PseudoTerminal() {
        master = posix_openpt(O_RDWR | O_NOCTTY);
        if (master >= 0 && grantpt(master) == 0 && unlockpt(master) == 0)
            devicePath = QString::fromLocal8Bit(ptsname(master));
    }
    ~PseudoTerminal() {
        if (master >= 0)
            ::close(master);
    }
    PseudoTerminal(const PseudoTerminal &) = delete;
    PseudoTerminal &operator=(const PseudoTerminal &) = delete;

    int master = -1;
    QString devicePath;
};

QStringList items(const QComboBox *box) {
    QStringList texts;
    for (int i = 0; i < box->count(); ++i)
        texts << box->itemText(i);
    return texts;
}

} // namespace

// The port dialog probes COM1..COM31 in DOWNLOADER_PORT_DIR, where links named after ports
// lead to pseudo-terminals.
class TestPortProbe : public QObject {
    Q_OBJECT

private slots:
    void init() {
        portDir.reset(new QTemporaryDir);
        QVERIFY(portDir->isValid());
        qputenv("DOWNLOADER_PORT_DIR", QFile::encodeName(portDir->path()));
        terminals.clear();
    }

    void cleanup() {
        terminals.clear();
        portDir.reset();
    }

    void listsTheFreePortsInAscendingOrder_data() {
        QTest::addColumn<QString>("current");
        QTest::addColumn<QString>("selected");

        QTest::newRow("current port listed") << "COM3"
                                             << "COM3";
        QTest::newRow("two-digit current port") << "COM12"
                                                << "COM12";
        QTest::newRow("current port absent") << "COM2"
                                             << "COM1";
        QTest::newRow("match is case-sensitive") << "com3"
                                                 << "COM1";
        QTest::newRow("no current port") << ""
                                         << "COM1";
    }

    void listsTheFreePortsInAscendingOrder() {
        QFETCH(QString, current);
        QFETCH(QString, selected);
        // Created out of order: the list follows the port numbers, not the folder.
        publish(QStringLiteral("COM12"));
        publish(QStringLiteral("COM3"));
        publish(QStringLiteral("COM1"));

        setcom dialog(current, 1200);
        QCOMPARE(items(dialog.ui->comboBox), (QStringList{"COM1", "COM3", "COM12"}));
        QCOMPARE(dialog.selection().port, selected);
        QCOMPARE(dialog.selection().baudrate, 1200);
    }

    void portsAboveCom31AreNeverListed() {
        publish(QStringLiteral("COM31"));
        publish(QStringLiteral("COM32"));
        publish(QStringLiteral("COM33"));

        setcom dialog(QStringLiteral("COM32"), 1200);
        QCOMPARE(items(dialog.ui->comboBox), QStringList{QStringLiteral("COM31")});
        QCOMPARE(dialog.selection().port, QStringLiteral("COM31"));
    }

    void linkToNothingIsNotListed() {
        publish(QStringLiteral("COM2"));
        QVERIFY(QFile::link(portDir->filePath(QStringLiteral("gone")), portDir->filePath(QStringLiteral("COM4"))));

        setcom dialog(QStringLiteral("COM4"), 1200);
        QCOMPARE(items(dialog.ui->comboBox), QStringList{QStringLiteral("COM2")});
    }

    void probeLeavesNoPortOpen() {
        publish(QStringLiteral("COM5"));
        { setcom first(QStringLiteral("COM5"), 1200); }
        setcom second(QStringLiteral("COM5"), 1200);
        QCOMPARE(items(second.ui->comboBox), QStringList{QStringLiteral("COM5")});
    }

    void portHeldOpenElsewhereIsNotListed_data() {
        QTest::addColumn<QString>("held");
        QTest::addColumn<bool>("byAnotherProgram");
        QTest::addColumn<QStringList>("listed");
        QTest::addColumn<QString>("selected");

        QTest::newRow("none held") << "" << false << QStringList{"COM1", "COM3", "COM12"} << "COM3";
        QTest::newRow("current port held") << "COM3" << false << QStringList{"COM1", "COM12"} << "COM1";
        QTest::newRow("another port held") << "COM1" << false << QStringList{"COM3", "COM12"} << "COM3";
        QTest::newRow("two-digit port held") << "COM12" << false << QStringList{"COM1", "COM3"} << "COM3";
        QTest::newRow("current device held by another program")
            << "COM3" << true << QStringList{"COM1", "COM12"} << "COM1";
        QTest::newRow("two-digit port's device held by another program")
            << "COM12" << true << QStringList{"COM1", "COM3"} << "COM3";
    }

    // Simulated modules on COM1, COM3 and COM12, one of them held open by a SerialPort of this
    // program or by another program on the device itself: the held one is left out, and listed
    // again once it is let go.
    void portHeldOpenElsewhereIsNotListed() {
        QFETCH(QString, held);
        QFETCH(bool, byAnotherProgram);
        QFETCH(QStringList, listed);
        QFETCH(QString, selected);
        std::vector<std::unique_ptr<SimulatedModule>> modules;
        for (const char *name : {"COM12", "COM1", "COM3"}) {
            modules.push_back(std::make_unique<SimulatedModule>(QString::fromLatin1(name), portDir->path()));
            QVERIFY(modules.back()->isValid());
        }
        SerialPort holder;
        PortHolder otherProgram;
        if (byAnotherProgram) {
            const QString device = QFile::symLinkTarget(portDir->filePath(held));
            QVERIFY(otherProgram.start(device));
        } else if (!held.isEmpty()) {
            QVERIFY(holder.open(held, 0, 100));
        }

        {
            setcom dialog(QStringLiteral("COM3"), 1200);
            QCOMPARE(items(dialog.ui->comboBox), listed);
            QCOMPARE(dialog.selection().port, selected);
        }
        QVERIFY(holder.isOpen() == (!held.isEmpty() && !byAnotherProgram));

        holder.close();
        QCOMPARE(otherProgram.finish(), byAnotherProgram ? 0 : -1);
        setcom dialog(QStringLiteral("COM3"), 1200);
        QCOMPARE(items(dialog.ui->comboBox), (QStringList{"COM1", "COM3", "COM12"}));
        QCOMPARE(dialog.selection().port, QStringLiteral("COM3"));
    }

    // Accepting at once stores the preselected port, which is the first listed one when the
    // current port is absent.
    void showPortStoresTheListedPort() {
        publish(QStringLiteral("COM1"));
        publish(QStringLiteral("COM3"));

        MainWindow window;
        window.settings.port = QStringLiteral("COM2");
        window.settings.baudrate = 9600;
        Modal::whenShown([](QWidget *modal) {
            auto *dialog = qobject_cast<setcom *>(modal);
            QVERIFY(dialog);
            dialog->ui->buttonBox->button(QDialogButtonBox::Ok)->click();
        });
        window.show_port();
        QCOMPARE(window.settings.port, QStringLiteral("COM1"));
        QCOMPARE(window.settings.baudrate, 9600);
        QCOMPARE(window.portLabel->text(), QStringLiteral("COM1 Baud: 9600"));
    }

private:
    void publish(const QString &portName) {
        auto terminal = std::make_unique<PseudoTerminal>();
        QVERIFY2(!terminal->devicePath.isEmpty(), "no pseudo-terminal");
        QVERIFY(QFile::link(terminal->devicePath, portDir->filePath(portName)));
        terminals.push_back(std::move(terminal));
    }

    std::unique_ptr<QTemporaryDir> portDir;
    std::vector<std::unique_ptr<PseudoTerminal>> terminals;
};

QTEST_MAIN(TestPortProbe)
#include "tst_portprobe.moc"
