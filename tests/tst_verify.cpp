#include "link/configtext.h"
#include "link/serialport.h"
#include "link/transferthread.h"
#include "link/verify.h"
#include "mainwindow/formlists.h"
#include "mainwindow/mainwindow.h"
#include "mainwindow/ui_mainwindow.h"
#include "support/buildtexts.h"
#include "support/sampleforms.h"
#include "support/simulatedmodule.h"
#include "support/transferdriver.h"
#include "support/transferreplies.h"

#include <QApplication>
#include <QDir>
#include <QLineEdit>
#include <QPixmap>
#include <QTabWidget>
#include <QTemporaryDir>

#include <memory>

using TransferDriver::Answer;
using TransferReplies::linesOf;

Q_DECLARE_METATYPE(FormValues)

namespace {

constexpr auto expectedTexts = &BuildTexts::verify;

FormValues formWith(const char *name, const QString &text) {
    FormValues form = SampleForms::filled();
    form.edits[form.editNames.indexOf(QLatin1String(name))] = text;
    return form;
}

} // namespace

class TestVerify : public QObject, public TransferDriver::WindowOnModule {
    Q_OBJECT

private:
    TransferDriver::Run verifyForm(Answer answer) {
        return TransferDriver::run([this] { window->verify_func(); }, answer);
    }

    void verifyPortFree() {
        SerialPort again;
        QVERIFY(again.open(QStringLiteral("COM1"), 0, 100));
    }

private slots:
    void init() {
        openWindowOnModule();
        // A silence long enough that a module scheduled late on a busy machine is not taken for one.
        window->settings.serialTimeout = 1000;
        putWindowForm(SampleForms::filled());
    }

    void cleanup() { closeWindowOnModule(); }

    void formAndTexts() {
        verify dialog(window->settings, window->ui->centralWidget, nullptr);
        // The worker's progress reaches the bar only through the event loop.
        TransferDriver::checkReadFormAtOpening(&dialog, "verify", QSize(263, 116), expectedTexts().title,
                                               expectedTexts().running);
        if (QTest::currentTestFailed())
            return;
        QLabel *message = TransferDriver::message(&dialog);

        QVERIFY(QTest::qWaitFor([&] { return TransferDriver::resultShown(&dialog); }, 5000));
        QCOMPARE(message->text(), expectedTexts().failure);
        QCOMPARE(TransferDriver::bar(&dialog)->maximum(), 748);
        dialog.setWindowTitle("changed");
        QEvent languageChange(QEvent::LanguageChange);
        QCoreApplication::sendEvent(&dialog, &languageChange);
        QCOMPARE(message->text(), expectedTexts().running);
        QCOMPARE(dialog.windowTitle(), expectedTexts().title);
    }

    void replies_data() {
        QTest::addColumn<FormValues>("form");
        QTest::addColumn<QByteArray>("reply");
        QTest::addColumn<char>("downloadSeparator");
        QTest::addColumn<int>("checkValue");
        QTest::addColumn<char>("uploadCommand");
        QTest::addColumn<bool>("success");

        const FormValues form = SampleForms::filled();
        const QStringList fields = TransferReplies::fieldsOf(form);
        QCOMPARE(fields.size(), 56);
        // The two characters after the 56 lines, and the repeated last one, are what the module adds.
        QTest::newRow("56 lines and two characters") << form << linesOf(fields, "ok") << '|' << 0 << '{' << true;
        QTest::newRow("56 lines alone") << form << linesOf(fields) << '|' << 0 << '{' << false;
        QTest::newRow("56 lines and three characters") << form << linesOf(fields, "abc") << '|' << 0 << '{' << false;
        QTest::newRow("two line ends after the lines") << form << linesOf(fields, "\r\n") << '|' << 0 << '{' << false;
        QTest::newRow("check on changes nothing") << form << linesOf(fields, "ok") << '|' << 1 << '{' << true;
        QTest::newRow("upload command is the byte sent") << form << linesOf(fields, "ok") << '|' << 0 << 'V' << true;
        QTest::newRow("other download separator never verifies")
            << form << linesOf(fields, "ok") << '#' << 0 << '{' << false;
        QTest::newRow("silent module") << form << QByteArray() << '|' << 0 << '{' << false;
        QStringList changed = fields;
        changed[30][3] = QLatin1Char('x');
        QTest::newRow("one character differs") << form << linesOf(changed, "ok") << '|' << 0 << '{' << false;
        QStringList withFF = fields;
        withFF[30][15] = QChar(0xFF);
        QTest::newRow("0xFF reads as a space") << form << linesOf(withFF, "ok") << '|' << 0 << '{' << true;
        const FormValues zeroRelayTime = formWith("rele_time", "0");
        QTest::newRow("relay time 0: no greater-than-zero test")
            << zeroRelayTime << linesOf(TransferReplies::fieldsOf(zeroRelayTime), "ok") << '|' << 0 << '{' << true;
    }

    // Through the main window's slot; the form is never changed.
    void replies() {
        QFETCH(FormValues, form);
        QFETCH(QByteArray, reply);
        QFETCH(char, downloadSeparator);
        QFETCH(int, checkValue);
        QFETCH(char, uploadCommand);
        QFETCH(bool, success);
        putWindowForm(form);
        window->ui->tabWidget->setCurrentIndex(3);
        window->settings.downloadSeparator = downloadSeparator;
        window->settings.checkValue = checkValue;
        window->settings.uploadCommand = uploadCommand;
        module->onCommand(uploadCommand, {reply});

        const TransferDriver::Run run = verifyForm(Answer::Ok);
        QVERIFY2(run.failure.isEmpty(), qPrintable(run.failure));
        QCOMPARE(run.objectName, QString("verify"));
        QCOMPARE(run.title, expectedTexts().title);
        QCOMPARE(run.runningText, expectedTexts().running);
        QCOMPARE(run.resultText, success ? expectedTexts().success : expectedTexts().failure);
        QCOMPARE(run.result, int(QDialog::Accepted));
        QCOMPARE(run.progressMaximum, 748);
        QCOMPARE(run.progressValue, reply.isEmpty() ? 0 : qMin(748, int(reply.size()) + 1));
        QCOMPARE(module->received(), QByteArray("~") + uploadCommand);
        QCOMPARE(window->ui->tabWidget->currentIndex(), 0);
        QCOMPARE(windowForm(), form);
        QVERIFY(run.worker.isNull());
        verifyPortFree();
    }

    void formThatCannotBeComposed_data() {
        QTest::addColumn<FormValues>("form");
        QTest::addColumn<char>("separator");
        QTest::addColumn<bool>("portPresent");

        QTest::newRow("empty required field") << formWith("m_pin", "") << '|' << true;
        QTest::newRow("empty required field, no port at all") << formWith("m_pin", "") << '|' << false;
        QTest::newRow("empty text field") << formWith("be3_nev", "") << '|' << true;
        // A field outside 7 bits is the field check's (badFieldStopsTheVerify); a separator is not.
        QTest::newRow("separator outside 7 bits") << SampleForms::filled() << char(0xE9) << true;
    }

    // The text cannot be composed: the failure at once, with no progress and no port access.
    void formThatCannotBeComposed() {
        QFETCH(FormValues, form);
        QFETCH(char, separator);
        QFETCH(bool, portPresent);
        putWindowForm(form);
        window->settings.downloadSeparator = separator;
        QCOMPARE(windowForm(), form);
        if (!portPresent)
            module.reset();
        else
            module->onCommand('{', {linesOf(TransferReplies::fieldsOf(SampleForms::filled()), "ok")});

        const TransferDriver::Run run = verifyForm(Answer::Ok);
        QVERIFY2(run.failure.isEmpty(), qPrintable(run.failure));
        QCOMPARE(run.resultText, expectedTexts().failure);
        // A guard against a wait; the checks below show that the port was never used.
        QVERIFY2(run.resultShownMs < 1000, qPrintable(QString::number(run.resultShownMs)));
        // The bar as the form built it: the worker never set it up.
        QCOMPARE(run.progressMaximum, 100);
        QCOMPARE(run.progressValue, 24);
        if (portPresent) {
            QTest::qWait(50);
            QCOMPARE(module->received(), QByteArray());
            verifyPortFree();
        }
        QCOMPARE(windowForm(), form);
    }

    void badFieldStopsTheVerify_data() {
        QTest::addColumn<QString>("name"); // the bad edit
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("focus"); // the widget holding the focus
        QTest::addColumn<QString>("start"); // "button" or "Ctrl+V"
        QTest::addColumn<QString>("rule");  // the field check's message

        QTest::newRow("letter in the PIN, Verify button") << "m_pin"
                                                          << "12a4"
                                                          << "m_pin"
                                                          << "button"
                                                          << "numbers";
        QTest::newRow("accent in a name, Verify button") << "m_nev" << QString::fromUtf8("Kapú") << "m_nev"
                                                         << "button"
                                                         << "7-bit";
        // Ctrl+V pastes in an edit; from a check box it starts the verify, which runs the check itself.
        QTest::newRow("letter in the PIN, focus on a check box, Ctrl+V") << "m_pin"
                                                                         << "12a4"
                                                                         << "tc1_1"
                                                                         << "Ctrl+V"
                                                                         << "numbers";
        QTest::newRow("accent in an output text, on its page, Verify button")
            << "ki4_off" << QString::fromUtf8("kié") << "ki4_off"
            << "button"
            << "7-bit";
    }

    // A field that the field check refuses stops the verify as it stops a download: the check's one
    // box, the field cleared and focused on the page that was shown, no dialog and nothing sent to
    // the module.
    void badFieldStopsTheVerify() {
        QFETCH(QString, name);
        QFETCH(QString, text);
        QFETCH(QString, focus);
        QFETCH(QString, start);
        QFETCH(QString, rule);
        module->onCommand('{', {linesOf(TransferReplies::fieldsOf(SampleForms::filled()), "ok")});
        window->show();
        window->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(window.get()));
        auto *bad = window->findChild<QLineEdit *>(name);
        bad->setText(text);
        auto *holder = window->findChild<QWidget *>(focus);
        showPageOf(holder);
        const int page = window->ui->tabWidget->currentIndex();
        holder->setFocus(Qt::OtherFocusReason);
        QTRY_COMPARE(QApplication::focusWidget(), holder);

        const Modal::DialogStopper<verify> dialogs(window.get());
        Modal::MessageBoxCatcher catcher;
        if (start == QLatin1String("Ctrl+V"))
            QTest::keyClick(window->windowHandle(), Qt::Key_V, Qt::ControlModifier);
        else
            QTest::mouseClick(window->ui->verify_gomb, Qt::LeftButton);
        QTest::qWait(100);

        QCOMPARE(catcher.texts, QStringList(BuildTexts::fieldCheckMessage(rule)));
        QCOMPARE(catcher.titles, QStringList(BuildTexts::fieldCheckTitle()));
        QCOMPARE(catcher.mostShownAtOnce, 1);
        QVERIFY(!dialogs.ran);
        QCOMPARE(module->received(), QByteArray());
        QVERIFY(bad->text().isEmpty());
        QCOMPARE(window->ui->tabWidget->currentIndex(), page);
        window->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(window.get()));
        QTRY_COMPARE(QApplication::focusWidget(), bad);
    }

    void successAcceptsItselfAfterTwoSeconds() {
        module->onCommand('{', {linesOf(TransferReplies::fieldsOf(SampleForms::filled()), "ok")});
        const TransferDriver::Run run = verifyForm(Answer::SelfAccept);
        QVERIFY2(run.failure.isEmpty(), qPrintable(run.failure));
        QCOMPARE(run.resultText, expectedTexts().success);
        QCOMPARE(run.result, int(QDialog::Accepted));
        const qint64 shownFor = run.endedMs - run.resultShownMs;
        QVERIFY2(shownFor >= 1950 && shownFor < 2600, qPrintable(QString::number(shownFor)));
    }

    // Cancel in the receive loop: the dialog ends at once, the port can be opened again at once.
    void cancelDuringTheReceive() {
        module->onCommand('{', {linesOf(TransferReplies::fieldsOf(SampleForms::filled()), "ok"), /*paced=*/true});
        const TransferDriver::Run run = verifyForm(Answer::CancelWhileReceiving);
        QVERIFY2(run.failure.isEmpty(), qPrintable(run.failure));
        QVERIFY(run.workerRanWhenPressed);
        QCOMPARE(run.result, int(QDialog::Rejected));
        QVERIFY2(run.endedMs - run.pressedMs < 500, qPrintable(QString::number(run.endedMs - run.pressedMs)));
        QCOMPARE(run.resultText, expectedTexts().failure);
        QVERIFY(run.worker.isNull());
        verifyPortFree();
        QTRY_COMPARE(TransferReplies::threadCount("vThread"), 0);
    }
};

QTEST_MAIN(TestVerify)
#include "tst_verify.moc"
