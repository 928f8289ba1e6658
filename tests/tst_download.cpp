#include "link/dload.h"
#include "mainwindow/formlists.h"
#include "mainwindow/mainwindow.h"
#include "mainwindow/ui_mainwindow.h"
#include "support/buildtexts.h"
#include "support/deadline.h"
#include "support/debugcapture.h"
#include "support/modal.h"
#include "support/sampleforms.h"
#include "support/simulatedmodule.h"
#include "support/transferdriver.h"

#include <QApplication>
#include <QCheckBox>
#include <QDialogButtonBox>
#include <QDir>
#include <QElapsedTimer>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QRadioButton>
#include <QTabWidget>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

#include <memory>

namespace {

using BuildTexts::byBuild;

// The build's message for a check of the download, by a short key.
QString messageFor(const QString &key) {
    if (key == QLatin1String("greater than 0"))
        return byBuild("Value must be greater than 0!", "A mező értéke nullánál nagyobb kell, hogy legyen!");
    if (key == QLatin1String("all inputs"))
        return byBuild("All inputs must be filled.", "Minden beviteli mező kitöltése kötelező!");
    if (key == QLatin1String("7-bit"))
        return byBuild("Only numbers and letters! (only 7-bit ascii)",
                       "Ékezetek nem használhatóak! (csak 7-bit ascii)");
    return QStringLiteral("unknown message ") + key;
}

// The 56 field values that the sample form must give, written out field by field.
QStringList sampleFields() {
    QStringList fields = {"36309888000", "1234", "0042", "Gate", "1",   "0005", "10", "15",
                          "01,",         "08,",  "10,0", "02,",  "09,", "10,0", "",   ""};
    for (int edit = 19; edit < 47; ++edit)
        fields << QStringLiteral("Text %1").arg(edit);
    fields << ""
           << ""
           << ""
           << "";
    for (int row = 1; row <= 8; ++row)
        fields << QStringLiteral("00");
    return fields;
}

QString padded(const QStringList &fields, QChar separator) {
    QStringList result;
    for (const QString &field : fields)
        result << field.leftJustified(16, QLatin1Char(' '));
    return result.join(separator);
}

// The suffix the module expects: the sum of the signed bytes modulo 8, 16, 24 or 32, or the
// fixed character itself.
QString expectedSuffix(const QString &text, char checkSize) {
    if (checkSize < 0 || checkSize > 3)
        return QString(QLatin1Char(checkSize));
    qint32 sum = 0;
    for (const char byte : text.toLatin1())
        sum += qint8(byte);
    return QString::number(sum % (8 * (checkSize + 1)));
}

// '~', '}', then the text as Latin-1 with CR for each separator and after the last line.
QByteArray wireFor(const QString &text, QChar separator) {
    QByteArray wire("~}");
    for (const QChar character : text)
        wire.append(character == separator ? '\r' : character.toLatin1());
    wire.append('\r');
    return wire;
}

} // namespace

// MainWindow::download() end to end: the form of a real window composed and checked, the
// download dialog run, and the bytes that reach the simulated module on COM1.
class TestDownload : public QObject, public TransferDriver::WindowOnModule {
    Q_OBJECT

    QLineEdit *edit(const QString &name) const { return window->findChild<QLineEdit *>(name); }

    // Whether the keyboard focus is on the widget once the window is active again, as the window
    // system makes it when a box closes (the offscreen platform leaves that to us).
    bool focusSettlesOn(QWidget *widget) {
        window->activateWindow();
        return QTest::qWaitForWindowActive(window.get()) &&
               QTest::qWaitFor([widget] { return QApplication::focusWidget() == widget; }, 2000);
    }

    void setTexts(const QStringList &namesAndTexts) {
        for (int i = 0; i + 1 < namesAndTexts.size(); i += 2) {
            QLineEdit *target = edit(namesAndTexts.at(i));
            QVERIFY2(target, qPrintable(namesAndTexts.at(i)));
            target->setText(namesAndTexts.at(i + 1));
        }
    }

    // The module takes the download: 'R' and one more byte on the command, the acknowledgement
    // after the last line.
    void answerDownload(int lineCount) {
        module->onCommand('}', {QByteArray("R\x05")});
        module->onByteCount('\r', lineCount, {QByteArray("OK")});
    }

private slots:
    void init() {
        openWindowOnModule();
        window->settings.port = QStringLiteral("COM1");
        putWindowForm(SampleForms::filled());
        window->show();
        window->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(window.get()));
    }

    void cleanup() { closeWindowOnModule(); }

    void wireBytes_data() {
        QTest::addColumn<QStringList>("texts");  // object name, text, ...
        QTest::addColumn<QStringList>("fields"); // field number, expected value, ...
        QTest::addColumn<char>("separator");
        QTest::addColumn<int>("checkValue");
        QTest::addColumn<char>("checkSize");
        QTest::addColumn<int>("lines");

        const QStringList none;
        QTest::newRow("full form") << none << none << '|' << 0 << char(3) << 56;
        // A check size is only used with the check switched on.
        QTest::newRow("check size without check") << none << none << '|' << 0 << 'X' << 56;
        QTest::newRow("sum modulo 8") << none << none << '|' << 1 << char(0) << 56;
        QTest::newRow("sum modulo 16") << none << none << '|' << 1 << char(1) << 56;
        QTest::newRow("sum modulo 24") << none << none << '|' << 1 << char(2) << 56;
        QTest::newRow("sum modulo 32") << none << none << '|' << 2 << char(3) << 56;
        QTest::newRow("fixed check character") << none << none << '|' << 1 << 'X' << 56;
        QTest::newRow("separator typed inside a field")
            << QStringList{"m_nev", "Ga|te"} << QStringList{"4", "Ga|te"} << '|' << 0 << char(3) << 57;
        QTest::newRow("other separator, '|' is text")
            << QStringList{"m_nev", "Ga|te"} << QStringList{"4", "Ga|te"} << ';' << 0 << char(3) << 56;
        QTest::newRow("separator of the settings typed inside a field")
            << QStringList{"be2_on_msg", "a;b;c"} << QStringList{"30", "a;b;c"} << ';' << 0 << char(3) << 58;
        // The field check refuses the currency sign in a field; the download's character test lets it through.
        QTest::newRow("currency sign as the separator passes") << none << none << char(0xA4) << 0 << char(3) << 56;
        QTest::newRow("phone numbers") << QStringList{"t1", "30 123", "t8", "36301234567"}
                                       << QStringList{"49", "0030 123", "56", "0036301234567"} << '|' << 0 << char(3)
                                       << 56;
        QTest::newRow("text of only spaces")
            << QStringList{"ki4_off", "   "} << QStringList{"44", "   "} << '|' << 0 << char(3) << 56;
    }

    // The exact bytes on the wire for a complete form, and the composed text kept in the settings.
    void wireBytes() {
        QFETCH(QStringList, texts);
        QFETCH(QStringList, fields);
        QFETCH(char, separator);
        QFETCH(int, checkValue);
        QFETCH(char, checkSize);
        QFETCH(int, lines);
        setTexts(texts);
        window->settings.downloadSeparator = separator;
        window->settings.checkValue = checkValue;
        window->settings.checkSize = checkSize;
        answerDownload(lines);

        QStringList expectedFields = sampleFields();
        for (int i = 0; i + 1 < fields.size(); i += 2)
            expectedFields[fields.at(i).toInt() - 1] = fields.at(i + 1);
        QString expectedText = padded(expectedFields, QLatin1Char(separator));
        if (checkValue > 0)
            expectedText += expectedSuffix(expectedText, checkSize);
        const QByteArray expectedWire = wireFor(expectedText, QLatin1Char(separator));

        Modal::MessageBoxCatcher catcher;
        QCOMPARE(downloadAndConfirm(10000), BuildTexts::download().success);
        QVERIFY(catcher.texts.isEmpty());
        QVERIFY(module->waitForReceived(int(expectedWire.size())));
        QTest::qWait(20);
        QCOMPARE(module->received(), expectedWire);
        QCOMPARE(module->receivedCount('\r'), lines);
        QCOMPARE(window->settings.dataText, expectedText);
    }

    // The rights, the output of each phone row and the ringing mask come from the widgets.
    void rightsOutputsAndRinging() {
        for (QCheckBox *box : window->ui->centralWidget->findChildren<QCheckBox *>()) {
            const QString group = box->property("group").toString();
            box->setChecked(group == "1.1" || group == "1.6" || group == "8.4");
        }
        window->findChild<QRadioButton *>("r1_3")->setChecked(true);
        window->findChild<QRadioButton *>("r8_4")->setChecked(true);
        window->findChild<QRadioButton *>("k2")->setChecked(true); // output 2 no longer monostable
        answerDownload(56);

        QStringList fields = sampleFields();
        fields[7] = "13";
        fields[48] = "Q3"; // '0' + 1 + 32, output 3
        fields[55] = "84"; // '0' + 8, output 4
        const QString text = padded(fields, QLatin1Char('|'));

        QCOMPARE(downloadAndConfirm(10000), BuildTexts::download().success);
        QVERIFY(module->waitForReceived(int(text.size()) + 3));
        QTest::qWait(20);
        QCOMPARE(module->received(), wireFor(text, QLatin1Char('|')));
    }

    // A download that succeeds ends with the dialog accepting itself 2 s after the result.
    void successEndsTheDialogAfterTwoSeconds() {
        answerDownload(56);
        window->ui->tabWidget->setCurrentIndex(2);
        QElapsedTimer clock;
        qint64 resultShownAt = -1;
        QString result;
        QTimer watch;
        connect(&watch, &QTimer::timeout, [&] {
            auto *dialog = window->findChild<dload *>();
            if (!dialog || resultShownAt >= 0 || !dialog->findChild<QDialogButtonBox *>()->isEnabled())
                return;
            resultShownAt = clock.elapsed();
            result = dialog->findChild<QLabel *>("kiiras")->text();
        });
        watch.start(5);
        clock.start();
        {
            // A dialog that never ends by itself would wait for a click that never comes.
            const Deadline deadline(15000, "a successful download's dialog");
            window->download();
        }
        const qint64 shownFor = clock.elapsed() - resultShownAt;
        QVERIFY(resultShownAt >= 0);
        QCOMPARE(result, BuildTexts::download().success);
        QVERIFY2(shownFor >= 1950 && shownFor < 2600, qPrintable(QString::number(shownFor)));
        QCOMPARE(window->ui->tabWidget->currentIndex(), 0);
        QVERIFY(window->findChild<dload *>() == nullptr);
    }

    void checksStopTheDownload_data() {
        QTest::addColumn<QStringList>("texts"); // object name, text, ...
        QTest::addColumn<char>("separator");
        QTest::addColumn<QString>("message");
        QTest::addColumn<QString>("clearedAndFocused");
        QTest::addColumn<QStringList>("debug");

        const QStringList noDebug;
        QTest::newRow("relay time 0") << QStringList{"rele_time", "0"} << '|' << "greater than 0"
                                      << "rele_time" << noDebug;
        QTest::newRow("empty SMS limit: greater than 0 comes before emptiness")
            << QStringList{"maxsms", ""} << '|' << "greater than 0"
            << "maxsms" << noDebug;
        QTest::newRow("empty module name") << QStringList{"m_nev", ""} << '|' << "all inputs"
                                           << "" << noDebug;
        QTest::newRow("empty A1 low threshold") << QStringList{"abe1_lo", ""} << '|' << "all inputs"
                                                << "" << QStringList{"\"abe1_lo\""};
        QTest::newRow("empty name of input 1") << QStringList{"be1_nev", ""} << '|' << "all inputs"
                                               << "" << QStringList{"\"be1_nev\""};
        // A character outside 7 bits in a field is the field check's (badFieldStopsTheDownload); the
        // separators of the text still meet the download's own character test.
        QTest::newRow("separator outside 7 bits") << QStringList() << char(0xE9) << "7-bit"
                                                  << "" << noDebug;
        // The checks come in field order: the first failing field decides.
        QTest::newRow("empty name before relay time 0")
            << QStringList{"m_nev", "", "rele_time", "0"} << '|' << "all inputs"
            << "" << noDebug;
        QTest::newRow("SMS limit before an empty threshold")
            << QStringList{"maxsms", "0", "abe1_lo", ""} << '|' << "greater than 0"
            << "maxsms" << noDebug;
        QTest::newRow("emptiness before the character test") << QStringList{"be1_nev", ""} << char(0xE9) << "all inputs"
                                                             << "" << QStringList{"\"be1_nev\""};
    }

    // Each check shows its critical box and stops: nothing reaches the wire, no dialog runs, the
    // text in the settings is empty, and only the relay time or SMS limit is cleared and focused.
    void checksStopTheDownload() {
        QFETCH(QStringList, texts);
        QFETCH(char, separator);
        QFETCH(QString, message);
        QFETCH(QString, clearedAndFocused);
        QFETCH(QStringList, debug);
        answerDownload(56);
        setTexts(texts);
        window->settings.downloadSeparator = separator;
        window->settings.dataText = "stale";
        window->ui->tabWidget->setCurrentIndex(3);

        const Modal::DialogStopper<dload> dialogs(window.get());
        Modal::MessageBoxCatcher catcher;
        {
            DebugCapture capture;
            window->download();
            QStringList quotedNames;
            for (const QString &line : DebugCapture::lines()) {
                if (line.startsWith(QLatin1Char('"')))
                    quotedNames << line;
            }
            QCOMPARE(quotedNames, debug);
        }

        QCOMPARE(catcher.texts, QStringList(messageFor(message)));
        QCOMPARE(catcher.titles, QStringList(byBuild("Error", "Hiba")));
        QCOMPARE(catcher.icons, QList<int>{QMessageBox::Critical});
        QVERIFY(!dialogs.ran);
        QTest::qWait(50);
        QVERIFY(module->received().isEmpty());
        QVERIFY(window->settings.dataText.isEmpty());
        QCOMPARE(window->ui->tabWidget->currentIndex(), 0);
        for (int i = 0; i + 1 < texts.size(); i += 2) {
            const QString &name = texts.at(i);
            QCOMPARE(edit(name)->text(), name == clearedAndFocused ? QString() : texts.at(i + 1));
        }
        if (!clearedAndFocused.isEmpty())
            QVERIFY(focusSettlesOn(edit(clearedAndFocused)));
    }

    void badFieldStopsTheDownload_data() {
        QTest::addColumn<QStringList>("texts"); // object name, text, ...
        QTest::addColumn<QString>("focus");     // the widget holding the focus; empty: the first edit
        QTest::addColumn<QString>("start");     // "Ctrl+D" or "button"
        QTest::addColumn<QString>("rule");      // the field check's message
        QTest::addColumn<QStringList>("cleared");
        QTest::addColumn<QString>("focused");

        const auto row = [](const char *name, const QStringList &texts, const char *focus, const char *start,
                            const char *rule, const QStringList &cleared, const char *focused) {
            QTest::newRow(name) << texts << QString::fromLatin1(focus) << QString::fromLatin1(start)
                                << QString::fromLatin1(rule) << cleared << QString::fromLatin1(focused);
        };
        row("letter in the PIN, Ctrl+D", {"m_pin", "12a4"}, "", "Ctrl+D", "numbers", {"m_pin"}, "m_pin");
        row("letter in the PIN, Download button", {"m_pin", "12a4"}, "", "button", "numbers", {"m_pin"}, "m_pin");
        // No focus leaves an edit: the download itself runs the check.
        row("letter in the PIN, focus on a check box", {"m_pin", "12a4"}, "tc1_1", "Ctrl+D", "numbers", {"m_pin"},
            "m_pin");
        // The field check's box alone, not the download's own box as well.
        row("letter in the PIN and an empty name", {"m_pin", "12a4", "m_nev", ""}, "", "Ctrl+D", "numbers", {"m_pin"},
            "m_pin");
        row("letter in the PIN and relay time 0", {"m_pin", "12a4", "rele_time", "0"}, "", "Ctrl+D", "numbers",
            {"m_pin"}, "m_pin");
        row("relay time 0 focused, letter in the PIN", {"rele_time", "0", "m_pin", "12a4"}, "", "Ctrl+D", "numbers",
            {"m_pin"}, "m_pin");
        row("relay time 0 focused, letter in the PIN, Download button", {"rele_time", "0", "m_pin", "12a4"}, "",
            "button", "numbers", {"m_pin"}, "m_pin");
        row("restore flag 2", {"visszaallas", "2"}, "", "Ctrl+D", "0 or 1", {"visszaallas"}, "visszaallas");
        row("alert value 0,0", {"abe1_lo", "0", "abe1_lo_2", "0"}, "", "button", "range", {"abe1_lo", "abe1_lo_2"},
            "abe1_lo");
        // The download's own character test refuses these with its own message, lets the currency sign
        // through, and never looks at the phone numbers.
        row("accent in a name", {"m_nev", "Gat\u00e9"}, "", "Ctrl+D", "7-bit", {"m_nev"}, "m_nev");
        row("currency sign in a name", {"m_nev", "Gate\u00a4"}, "", "Ctrl+D", "7-bit", {"m_nev"}, "m_nev");
        row("accent in an output text", {"ki4_off", "ki\u00e9"}, "", "button", "7-bit", {"ki4_off"}, "ki4_off");
        row("character outside Latin-1", {"be3_on_msg", "\u20ac"}, "", "Ctrl+D", "7-bit", {"be3_on_msg"}, "be3_on_msg");
        row("accent in a phone number", {"t1", "\u00e9"}, "", "Ctrl+D", "phone", {"t1"}, "t1");
    }

    // A field that the field check refuses stops the download there, with the focus wherever it was
    // and however the download starts: the check's one box, the field cleared and focused, no dialog
    // and nothing on the wire.
    void badFieldStopsTheDownload() {
        QFETCH(QStringList, texts);
        QFETCH(QString, focus);
        QFETCH(QString, start);
        QFETCH(QString, rule);
        QFETCH(QStringList, cleared);
        QFETCH(QString, focused);
        answerDownload(56);
        setTexts(texts);
        auto *holder = window->findChild<QWidget *>(focus.isEmpty() ? texts.first() : focus);
        showPageOf(holder);
        const int page = window->ui->tabWidget->currentIndex();
        holder->setFocus(Qt::OtherFocusReason);
        QVERIFY(focusSettlesOn(holder));

        const Modal::DialogStopper<dload> dialogs(window.get());
        Modal::MessageBoxCatcher catcher;
        if (start == QLatin1String("Ctrl+D"))
            QTest::keyClick(window->windowHandle(), Qt::Key_D, Qt::ControlModifier);
        else
            QTest::mouseClick(window->ui->download_gomb, Qt::LeftButton);
        QTest::qWait(100);

        QCOMPARE(catcher.texts, QStringList(BuildTexts::fieldCheckMessage(rule)));
        QCOMPARE(catcher.titles, QStringList(BuildTexts::fieldCheckTitle()));
        QCOMPARE(catcher.icons, QList<int>{QMessageBox::Warning});
        QCOMPARE(catcher.mostShownAtOnce, 1);
        QVERIFY(!dialogs.ran);
        QCOMPARE(module->received(), QByteArray());
        for (int i = 0; i + 1 < texts.size(); i += 2) {
            const QString &name = texts.at(i);
            QCOMPARE(edit(name)->text(), cleared.contains(name) ? QString() : texts.at(i + 1));
        }
        QCOMPARE(window->ui->tabWidget->currentIndex(), page);
        QVERIFY(focusSettlesOn(edit(focused)));
    }

    // A later download of a corrected form goes through.
    void correctedFormDownloads() {
        edit("rele_time")->setText("0");
        {
            Modal::MessageBoxCatcher catcher;
            window->download();
            QCOMPARE(catcher.texts.size(), 1);
        }
        edit("rele_time")->setText("5");
        answerDownload(56);
        QCOMPARE(downloadAndConfirm(10000), BuildTexts::download().success);
        const QByteArray expected = wireFor(padded(sampleFields(), QLatin1Char('|')), QLatin1Char('|'));
        QVERIFY(module->waitForReceived(int(expected.size())));
        QCOMPARE(module->received(), expected);
    }
};

QTEST_MAIN(TestDownload)
#include "tst_download.moc"
