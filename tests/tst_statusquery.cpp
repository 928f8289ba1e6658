#include "link/serialport.h"
#include "mainwindow/mainwindow.h"
#include "mainwindow/ui_mainwindow.h"
#include "support/modal.h"
#include "support/simulatedmodule.h"
#include "support/transferdriver.h"

#include <QDir>
#include <QElapsedTimer>
#include <QLabel>
#include <QMessageBox>
#include <QProgressBar>
#include <QProgressDialog>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

#include <chrono>
#include <memory>
#include <thread>

namespace {

const bool hungarian = QLatin1String(DOWNLOADER_BUILD_LANGUAGE) == QLatin1String("hu");

QString byBuild(const char *english, const char *hungarianText) {
    return QString::fromUtf8(hungarian ? hungarianText : english);
}

const QString grey = QStringLiteral("background-color: rgb(180, 180, 180);");
const QString orange = QStringLiteral("background-color: rgb(255, 170, 0);");
const QString blue = QStringLiteral("background-color: rgb(0, 170, 255);");
const QString green = QStringLiteral("background-color: rgb(0, 170, 0);");
const QString red = QStringLiteral("background-color: rgb(255, 0, 0);");
const QString strongSignal = QStringLiteral("QProgressBar::chunk { background-color: #05B8CC; }");
const QString weakSignal = QStringLiteral("QProgressBar::chunk { background-color: #FF0000; }");

// The supply lamp: green for the build's "on" character ('1' English, '0' Hungarian), else red.
QString supplyLamp(char examined) {
    return examined == (hungarian ? '0' : '1') ? green : red;
}

struct ButtonLook {
    QString text;
    bool enabled = false;
    QString styleSheet;
    bool operator==(const ButtonLook &) const = default;
};

char *toString(const ButtonLook &look) {
    return QTest::toString(
        QStringLiteral("%1 | %2 | %3").arg(look.text, look.enabled ? "enabled" : "disabled", look.styleSheet));
}

ButtonLook idleLook() {
    return {byBuild("Get Status", "Állapot lekérdezése"), true,
            QStringLiteral("color: rgb(255, 255, 255); background-color: rgb(0, 170, 127);")};
}

ButtonLook busyLook() {
    return {byBuild("Loading...", "Várjon!..."), false,
            QStringLiteral("color: rgb(255, 255, 255); background-color: rgb(180, 180, 180);")};
}

// What the status panel shows: the nine lamps (outputs, inputs, supply), the two analog labels
// and the version label.
struct Panel {
    QStringList lamps;
    QStringList labels;
    bool operator==(const Panel &) const = default;
};

char *toString(const Panel &panel) {
    return QTest::toString(panel.lamps.join(" / ") + " || " + panel.labels.join(" / "));
}

struct ProgressLook {
    bool found = false;
    Qt::WindowModality modality = Qt::NonModal;
    QString label;
    int minimum = -1;
    int maximum = -1;
};

// A status line: '1' at every examined character, with part 5 replaced when given.
QByteArray statusLine(const QByteArray &signalPart = "GSMQ:3") {
    return "OUT:=1111 IN:1111 A1:12.5 A2:3.0 SUPPL:1 " + signalPart + " 1.6";
}

} // namespace

// MainWindow::allapot() end to end against the simulated module on COM1: the reply shown in the
// status panel, the button's two looks, the progress dialog, and the failure message.
class TestStatusQuery : public QObject, public TransferDriver::WindowOnModule {
    Q_OBJECT

    ButtonLook buttonLook() const {
        const QPushButton *button = window->ui->allapot_gomb;
        return {button->text(), button->isEnabled(), button->styleSheet()};
    }

    QList<QWidget *> lamps() const {
        const Ui_MainWindow *ui = window->ui;
        return {ui->w_ki1, ui->w_ki2, ui->w_ki3, ui->w_ki4, ui->w_be1, ui->w_be2, ui->w_be3, ui->w_be4, ui->w_tp};
    }

    Panel panel() const {
        Panel shown;
        for (const QWidget *lamp : lamps())
            shown.lamps << lamp->styleSheet();
        shown.labels << window->ui->l_analog1->text() << window->ui->l_analog2->text() << window->ui->l_ver->text();
        return shown;
    }

    // Puts a mark on every widget of the panel, so that a test sees which ones a query set.
    void markPanel() {
        for (QWidget *lamp : lamps())
            lamp->setStyleSheet(QStringLiteral("background-color: rgb(1, 2, 3);"));
        window->ui->l_analog1->setText(QStringLiteral("mark 1"));
        window->ui->l_analog2->setText(QStringLiteral("mark 2"));
        window->ui->l_ver->setText(QStringLiteral("mark 3"));
        window->ui->terero->setRange(0, 100);
        window->ui->terero->setValue(77);
        window->ui->terero->setStyleSheet(QStringLiteral("QProgressBar::chunk { background-color: #123456; }"));
    }

    ProgressLook progressLook() const {
        ProgressLook look;
        if (auto *progress = window->findChild<QProgressDialog *>()) {
            look.found = true;
            look.modality = progress->windowModality();
            look.label = progress->labelText();
            look.minimum = progress->minimum();
            look.maximum = progress->maximum();
        }
        return look;
    }

    void verifyProgressLook(const ProgressLook &look) {
        QVERIFY(look.found);
        QCOMPARE(look.modality, Qt::WindowModal);
        QCOMPARE(look.label, byBuild("Getting status...", "Állapot lekérdezése..."));
        QCOMPARE(look.minimum, 0);
        QCOMPARE(look.maximum, 50);
    }

    void verifySignalBarReset() {
        QCOMPARE(window->ui->terero->styleSheet(), QString());
        QCOMPARE(window->ui->terero->value(), window->ui->terero->minimum() - 1);
    }

private slots:
    void init() {
        openWindowOnModule();
        window->settings.port = QStringLiteral("COM1");
        window->show();
        QVERIFY(QTest::qWaitForWindowExposed(window.get()));
    }

    void cleanup() { closeWindowOnModule(); }

    void replyShown_data() {
        QTest::addColumn<QByteArray>("reply");
        QTest::addColumn<QString>("lampCodes");    // outputs then inputs: o orange, b blue, - grey
        QTest::addColumn<char>("supplyCharacter"); // the examined one; 0 when the part is too short
        QTest::addColumn<QString>("analog1");
        QTest::addColumn<QString>("analog2");
        QTest::addColumn<int>("signal");
        QTest::addColumn<QString>("version");

        QTest::newRow("every examined character 1") << statusLine() << "oooobbbb" << '1' << "12.5 V"
                                                    << "3.0 V" << 30 << "Verzió: 1.6";
        QTest::newRow("every examined character 0")
            << QByteArray("OUT:=0000 IN:0000 A1:0.0 A2:0.0 SUPPL:0 GSMQ:0 2.0") << "--------" << '0' << "0.0 V"
            << "0.0 V" << 2 << "Verzió: 2.0";
        QTest::newRow("mixed") << QByteArray("OUT:=1010 IN:0101 A1:9.9 A2:10.1 SUPPL:x GSMQ:2 V1.6b") << "o-o--b-b"
                               << 'x' << "9.9 V"
                               << "10.1 V" << 20 << "Verzió: V1.6b";
        QTest::newRow("two spaces shift every later part")
            << QByteArray("OUT:=1111 IN:1111  A1:12.5 A2:3.0 SUPPL:1 GSMQ:3 1.6") << "oooobbbb" << char(0) << " V"
            << "12.5 V" << 2 << "Verzió: GSMQ:3";
        QTest::newRow("short part 0") << QByteArray("OUT:=11 IN:1 A1: A2 SUPPL:1 GSMQ:3 v") << "oo--b---" << '1' << " V"
                                      << " V" << 30 << "Verzió: v";
        QTest::newRow("parts after the seventh ignored") << statusLine() + " 2.0 x"
                                                         << "oooobbbb" << '1' << "12.5 V"
                                                         << "3.0 V" << 30 << "Verzió: 1.6";
        QTest::newRow("signal 1") << statusLine("GSMQ:1") << "oooobbbb" << '1' << "12.5 V"
                                  << "3.0 V" << 10 << "Verzió: 1.6";
        QTest::newRow("signal 0") << statusLine("GSMQ:0") << "oooobbbb" << '1' << "12.5 V"
                                  << "3.0 V" << 2 << "Verzió: 1.6";
        QTest::newRow("signal 4") << statusLine("GSMQ:4") << "oooobbbb" << '1' << "12.5 V"
                                  << "3.0 V" << 2 << "Verzió: 1.6";
        QTest::newRow("signal 12") << statusLine("GSMQ:12") << "oooobbbb" << '1' << "12.5 V"
                                   << "3.0 V" << 2 << "Verzió: 1.6";
        QTest::newRow("signal not a number") << statusLine("GSMQ:ab") << "oooobbbb" << '1' << "12.5 V"
                                             << "3.0 V" << 2 << "Verzió: 1.6";
        QTest::newRow("signal negative") << statusLine("GSMQ:-3") << "oooobbbb" << '1' << "12.5 V"
                                         << "3.0 V" << 2 << "Verzió: 1.6";
    }

    // A reply ended by CR: every lamp, label and the signal bar are set from it, the button is
    // idle again and no box is shown.
    void replyShown() {
        QFETCH(QByteArray, reply);
        QFETCH(QString, lampCodes);
        QFETCH(char, supplyCharacter);
        QFETCH(QString, analog1);
        QFETCH(QString, analog2);
        QFETCH(int, signal);
        QFETCH(QString, version);
        module->onCommand('[', {reply + '\r'});
        markPanel();

        Modal::MessageBoxCatcher catcher;
        window->allapot();

        Panel expected;
        for (const QChar code : lampCodes)
            expected.lamps << (code == 'o' ? orange : code == 'b' ? blue : grey);
        expected.lamps << supplyLamp(supplyCharacter);
        expected.labels << analog1 << analog2 << version;
        QCOMPARE(panel(), expected);
        QCOMPARE(window->ui->terero->minimum(), 0);
        QCOMPARE(window->ui->terero->maximum(), 32);
        QCOMPARE(window->ui->terero->value(), signal);
        QCOMPARE(window->ui->terero->styleSheet(), signal > 5 ? strongSignal : weakSignal);
        QCOMPARE(buttonLook(), idleLook());
        QVERIFY(catcher.texts.isEmpty());
        QCOMPARE(module->received(), QByteArray("~["));
    }

    // The module answers slowly, so the progress dialog comes up and lets events through while the
    // slot runs: meanwhile the button looks busy, the signal bar is reset and the dialog is
    // window-modal with the build's label and the range 0 to 50.
    void busyWhileTheQueryRuns() {
        markPanel();
        const QByteArray reply = statusLine();
        std::thread feeder([this, reply] {
            if (!module->waitForByteCount('[', 1, 5000))
                return;
            module->send(reply.left(1));
            // A pause at the start makes the progress dialog expect a long wait and show itself.
            std::this_thread::sleep_for(std::chrono::milliseconds(300));
            module->send(reply.mid(1) + '\r', /*paced=*/true);
        });

        bool insideSlot = false;
        QList<ButtonLook> looks;
        QList<ProgressLook> progressLooks;
        bool signalBarReset = true;
        QTimer sampler;
        connect(&sampler, &QTimer::timeout, [&] {
            if (!insideSlot)
                return;
            looks << buttonLook();
            progressLooks << progressLook();
            const QProgressBar *bar = window->ui->terero;
            signalBarReset = signalBarReset && bar->styleSheet().isEmpty() && bar->value() == bar->minimum() - 1;
        });
        sampler.start(5);
        insideSlot = true;
        window->allapot();
        insideSlot = false;
        feeder.join();

        QVERIFY2(looks.size() >= 3, "no look from inside the query");
        for (const ButtonLook &look : looks)
            QCOMPARE(look, busyLook());
        for (const ProgressLook &look : progressLooks)
            verifyProgressLook(look);
        QVERIFY(signalBarReset);
        QCOMPARE(buttonLook(), idleLook());
        QCOMPARE(window->ui->l_ver->text(), QStringLiteral("Verzió: 1.6"));
        QCOMPARE(window->ui->terero->value(), 30);
    }

    // No CR: the 5 s read time-out ends the reply, which is shown all the same.
    void replyEndedByTimeOut() {
        module->onCommand('[', {statusLine("GSMQ:2")});
        markPanel();
        Modal::MessageBoxCatcher catcher;
        QElapsedTimer clock;
        clock.start();
        window->allapot();
        const qint64 elapsed = clock.elapsed();
        QVERIFY2(elapsed >= 4900 && elapsed < 6500, qPrintable(QString::number(elapsed)));
        QVERIFY(catcher.texts.isEmpty());
        QCOMPARE(window->ui->l_ver->text(), QStringLiteral("Verzió: 1.6"));
        QCOMPARE(window->ui->w_tp->styleSheet(), supplyLamp('1'));
        QCOMPARE(window->ui->terero->value(), 20);
        QCOMPARE(buttonLook(), idleLook());
    }

    void failures_data() {
        QTest::addColumn<QString>("fault");
        QTest::addColumn<QByteArray>("received");
        QTest::addColumn<int>("minimumMs");
        QTest::addColumn<int>("maximumMs");

        QTest::newRow("no answer: one 5 s read") << "silent" << QByteArray("~[") << 4900 << 6500;
        QTest::newRow("six parts") << "six parts" << QByteArray("~[") << 0 << 1000;
        QTest::newRow("empty line") << "empty line" << QByteArray("~[") << 0 << 1000;
        QTest::newRow("port held by another open") << "held" << QByteArray() << 0 << 1000;
        QTest::newRow("port missing") << "missing" << QByteArray() << 0 << 1000;
    }

    // Every failure: the button is idle again before the critical box shows the build's text; the
    // panel keeps what it showed, the signal bar stays reset; the port is free again.
    void failures() {
        QFETCH(QString, fault);
        QFETCH(QByteArray, received);
        QFETCH(int, minimumMs);
        QFETCH(int, maximumMs);
        SerialPort holder;
        if (fault == "six parts")
            module->onCommand('[', {"OUT:=1111 IN:1111 A1:12.5 A2:3.0 SUPPL:1 GSMQ:3\r"});
        if (fault == "empty line")
            module->onCommand('[', {"\r"});
        if (fault == "held")
            QVERIFY(holder.open(QStringLiteral("COM1"), 0, 100));
        if (fault == "missing")
            window->settings.port = QStringLiteral("COM7");
        if (fault == "held" || fault == "missing")
            QTest::ignoreMessage(QtDebugMsg, "unable to open comport");

        // A previous query's picture, which a failure must leave alone.
        markPanel();
        window->ui->w_ki2->setStyleSheet(orange);
        window->ui->l_analog1->setText(QStringLiteral("4.2 V"));
        const Panel before = panel();

        QElapsedTimer clock;
        qint64 boxShownAt = -1;
        ButtonLook lookAtBox;
        ProgressLook progressAtBox;
        Modal::MessageBoxCatcher catcher;
        catcher.onShown = [&](QMessageBox *) {
            boxShownAt = clock.elapsed();
            lookAtBox = buttonLook();
            progressAtBox = progressLook();
        };
        clock.start();
        window->allapot();

        QCOMPARE(catcher.titles, QStringList(byBuild("Error", "Hiba")));
        QCOMPARE(catcher.texts, QStringList(byBuild("Cannot get status.\nCheck the device",
                                                    "Sikertelen lekérdezés.\nEllenőrizze az eszközt!")));
        QCOMPARE(catcher.icons, QList<int>{QMessageBox::Critical});
        QVERIFY2(boxShownAt >= minimumMs && boxShownAt < maximumMs, qPrintable(QString::number(boxShownAt)));
        QCOMPARE(lookAtBox, idleLook());
        verifyProgressLook(progressAtBox);
        QCOMPARE(buttonLook(), idleLook());
        QCOMPARE(panel(), before);
        verifySignalBarReset();
        QTest::qWait(20);
        QCOMPARE(module->received(), received);

        holder.close();
        SerialPort again;
        QVERIFY(again.open(QStringLiteral("COM1"), 0, 100));
    }
};

QTEST_MAIN(TestStatusQuery)
#include "tst_statusquery.moc"
