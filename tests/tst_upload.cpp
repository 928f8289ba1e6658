#include "link/serialport.h"
#include "link/transferthread.h"
#include "link/upload.h"
#include "mainwindow/formlists.h"
#include "mainwindow/mainwindow.h"
#include "mainwindow/ui_mainwindow.h"
#include "support/buildtexts.h"
#include "support/sampleforms.h"
#include "support/simulatedmodule.h"
#include "support/transferdriver.h"
#include "support/transferreplies.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QLineEdit>
#include <QPixmap>
#include <QRadioButton>
#include <QTabWidget>
#include <QTemporaryDir>

#include <memory>

using TransferDriver::Answer;
using TransferReplies::linesOf;
using TransferReplies::storedFields;

namespace {

constexpr auto expectedTexts = &BuildTexts::readBack;

// The form before a read: every right of row 2 and its output 4, row 4 on output 2, every output
// bistable, and an SMS centre of no operator.
FormValues formBeforeRead() {
    FormValues form = SampleForms::filled();
    form.edits[0] = QStringLiteral("36201234567");
    for (int index = 0; index < form.checks.size(); ++index)
        form.checks[index] = form.checkGroups.at(index).startsWith(QLatin1String("2."));
    for (int index = 0; index < form.radios.size(); ++index) {
        const QString &name = form.radioNames.at(index);
        if (name.startsWith(QLatin1String("r2_")))
            form.radios[index] = name == QLatin1String("r2_4");
        else if (name.startsWith(QLatin1String("r4_")))
            form.radios[index] = name == QLatin1String("r4_2");
        else if (name.startsWith('k') || name.startsWith('b'))
            form.radios[index] = name.startsWith('b');
    }
    return form;
}

} // namespace

class TestUpload : public QObject, public TransferDriver::WindowOnModule {
    Q_OBJECT

private:
    TransferDriver::Run readup(Answer answer) {
        return TransferDriver::run([this] { window->readup(); }, answer);
    }

    template <typename T> T *widget(const char *name) { return window->findChild<T *>(QLatin1String(name)); }
    QString text(const char *name) { return widget<QLineEdit>(name)->text(); }
    bool checked(const char *radioName) { return widget<QRadioButton>(radioName)->isChecked(); }
    // The rights boxes found by their "group" property, row.column.
    bool rightChecked(const QString &group) {
        for (QCheckBox *box : formLists(window->ui->centralWidget).checks) {
            if (box->property("group").toString() == group)
                return box->isChecked();
        }
        return false;
    }

    // Checks what every read that fails must leave: the failure, the form and the port as they were.
    void verifyFailedRead(const TransferDriver::Run &run, const FormValues &before) {
        QVERIFY2(run.failure.isEmpty(), qPrintable(run.failure));
        QCOMPARE(run.resultText, expectedTexts().failure);
        QCOMPARE(windowForm(), before);
        QVERIFY(run.worker.isNull());
        SerialPort again;
        QVERIFY(again.open(QStringLiteral("COM1"), 0, 100));
    }

private slots:
    void init() {
        openWindowOnModule();
        // A silence long enough that a module scheduled late on a busy machine is not taken for one.
        window->settings.serialTimeout = 1000;
    }

    void cleanup() { closeWindowOnModule(); }

    void formAndTexts() {
        upload dialog(window->settings, window->ui->centralWidget, nullptr);
        // The worker's progress reaches the bar only through the event loop.
        TransferDriver::checkReadFormAtOpening(&dialog, "upload", QSize(262, 118), expectedTexts().title,
                                               expectedTexts().running);
        if (QTest::currentTestFailed())
            return;
        QLabel *message = TransferDriver::message(&dialog);
        auto *picture = dialog.findChild<QLabel *>("pic");

        // A silent module: the failure, then a language change brings back the running texts.
        QTest::ignoreMessage(QtDebugMsg, "sep error");
        QVERIFY(QTest::qWaitFor([&] { return TransferDriver::resultShown(&dialog); }, 5000));
        QCOMPARE(message->text(), expectedTexts().failure);
        QCOMPARE(TransferDriver::bar(&dialog)->maximum(), 748);
        dialog.setWindowTitle("changed");
        picture->setText("changed");
        QEvent languageChange(QEvent::LanguageChange);
        QCoreApplication::sendEvent(&dialog, &languageChange);
        QCOMPARE(message->text(), expectedTexts().running);
        QCOMPARE(dialog.windowTitle(), expectedTexts().title);
        QVERIFY(picture->text().isEmpty());
    }

    // A well-formed reply of 56 CR LF lines fills every widget, through the main window's slot.
    void wellFormedReplyFillsTheForm() {
        putWindowForm(formBeforeRead());
        window->ui->tabWidget->setCurrentIndex(2);
        // Read-back asks with the fixed '{', whatever the upload command is.
        window->settings.uploadCommand = 'X';
        QStringList fields = storedFields();
        fields[51] = QStringLiteral("0").leftJustified(16); // row 4 names no output
        module->onCommand('{', {linesOf(fields)});

        const TransferDriver::Run run = readup(Answer::Ok);
        QVERIFY2(run.failure.isEmpty(), qPrintable(run.failure));
        QCOMPARE(run.objectName, QString("upload"));
        QCOMPARE(run.title, expectedTexts().title);
        QCOMPARE(run.runningText, expectedTexts().running);
        QCOMPARE(run.resultText, expectedTexts().success);
        QCOMPARE(run.result, int(QDialog::Accepted));
        QCOMPARE(window->ui->tabWidget->currentIndex(), 0);
        QCOMPARE(module->received(), QByteArray("~{"));
        // More than 748 characters arrived: the bar stays full.
        QCOMPARE(run.progressMaximum, 748);
        QCOMPARE(run.progressValue, 748);

        QCOMPARE(text("smskp"), QString("36209300099"));
        QCOMPARE(text("m_pin"), QString("0012"));
        QCOMPARE(text("m_id"), QString("0042"));
        QCOMPARE(text("m_nev"), QString("Front gate"));
        QCOMPARE(text("visszaallas"), QString("1"));
        QCOMPARE(text("rele_time"), QString("0005"));
        QCOMPARE(text("maxsms"), QString("10"));
        const QStringList analogEdits = {"abe1_lo", "abe1_lo_2", "abe1_hi", "abe1_hi_2", "abe1_x", "abe1_x_2",
                                         "abe2_lo", "abe2_lo_2", "abe2_hi", "abe2_hi_2", "abe2_x", "abe2_x_2"};
        const QStringList analogValues = {"5", "3", "8", "", "10", "0", "2", "0", "9", "9", "12", "5"};
        for (int index = 0; index < analogEdits.size(); ++index)
            QCOMPARE(text(qPrintable(analogEdits.at(index))), analogValues.at(index));
        const QList<QLineEdit *> edits = formLists(window->ui->centralWidget).edits;
        for (int field = 17; field <= 44; ++field)
            QCOMPARE(edits.at(field + 2)->text(), QStringLiteral("Text %1").arg(field));
        QCOMPARE(edits.at(19)->objectName(), QString("abe1_lo_msg"));
        QCOMPARE(edits.at(46)->objectName(), QString("ki4_off"));
        const QStringList phones = {"361234", "", "363012345678", "", "", "", "", ""};
        for (int row = 1; row <= 8; ++row)
            QCOMPARE(text(qPrintable(QStringLiteral("t%1").arg(row))), phones.at(row - 1));

        // Ringing 05: outputs 1 and 3 bistable, 2 and 4 monostable.
        for (const char *name : {"b1", "k2", "b3", "k4"})
            QVERIFY2(checked(name), name);
        for (const char *name : {"k1", "b2", "k3", "b4"})
            QVERIFY2(!checked(name), name);

        // Row 2 "31": rights of inputs 1 and 2, output 1. Row 3 "Q3": mask 33, output 3. Row 4 "0": no
        // right, and its output 2 kept. Row 5 "04": output 4. Row 8 "o0": mask 63, output 0. Every
        // other row: nothing, output 0.
        const QList<int> masks = {0, 3, 33, 0, 0, 0, 0, 63};
        const QList<int> outputs = {0, 1, 3, 2, 4, 0, 0, 0};
        for (int row = 1; row <= 8; ++row) {
            for (int column = 1; column <= 6; ++column) {
                const QString group = QStringLiteral("%1.%2").arg(row).arg(column);
                QCOMPARE(rightChecked(group), bool(masks.at(row - 1) & (1 << (column - 1))));
            }
            for (int output = 0; output <= 4; ++output)
                QCOMPARE(checked(qPrintable(QStringLiteral("r%1_%2").arg(row).arg(output))),
                         output == outputs.at(row - 1));
        }

        // The preset follows the number read.
        QCOMPARE(window->ui->smskp_combo->currentIndex(), 1);
        QVERIFY(!window->ui->smskp->isEnabled());
        QVERIFY(run.worker.isNull());
        QTRY_COMPARE(TransferReplies::threadCount("upThread"), 0);
    }

    void downloadThenReadBackRestoresTheForm_data() {
        QTest::addColumn<QStringList>("decimals"); // abe1_lo_2, abe1_hi_2, abe1_x_2, abe2_lo_2, ...
        QTest::newRow("sample form") << QStringList{"5", "0", "9", "1", "9", "0"};
        QTest::newRow("empty decimal digits") << QStringList{"", "", "", "", "", ""};
    }

    // A configuration downloaded to the module and read back restores the form, and the next
    // download sends the same bytes.
    void downloadThenReadBackRestoresTheForm() {
        QFETCH(QStringList, decimals);
        FormValues form = SampleForms::roundTrip();
        for (int pair = 0; pair < decimals.size(); ++pair)
            form.edits[form.editNames.indexOf(QLatin1String("abe1_lo_2")) + 2 * pair] = decimals.at(pair);
        // The field check before the download refuses the currency sign that the text itself allows.
        form.edits[form.editNames.indexOf(QLatin1String("ki3_on"))] = QStringLiteral("a$b");
        putWindowForm(form);
        QCOMPARE(windowForm(), form);
        module->onCommand('}', {"R\x05"});
        module->onByteCount('\r', 56, {"OK"});
        const TransferDriver::Run download = TransferDriver::run([this] { window->download(); }, Answer::Ok);
        QVERIFY2(download.failure.isEmpty(), qPrintable(download.failure));
        QCOMPARE(download.result, int(QDialog::Accepted));
        const QByteArray sent = module->received();
        QVERIFY(sent.startsWith("~}"));
        QCOMPARE(sent.count('\r'), 56);

        putWindowForm(formBeforeRead());
        QVERIFY(windowForm() != form);
        module->onCommand('{', {sent.mid(2)});
        const TransferDriver::Run read = readup(Answer::Ok);
        QVERIFY2(read.failure.isEmpty(), qPrintable(read.failure));
        QCOMPARE(read.resultText, expectedTexts().success);
        QCOMPARE(module->received(), sent + "~{");
        QCOMPARE(windowForm(), form);
        // A number of no operator: the manual entry, with the number editable.
        QCOMPARE(window->ui->smskp_combo->currentIndex(), 3);
        QVERIFY(window->ui->smskp->isEnabled());

        const TransferDriver::Run again = TransferDriver::run([this] { window->download(); }, Answer::Ok);
        QVERIFY2(again.failure.isEmpty(), qPrintable(again.failure));
        QCOMPARE(module->received(), sent + "~{" + sent);
    }

    void replyVariants_data() {
        QTest::addColumn<QByteArray>("reply");
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("value");

        QStringList fields = storedFields();
        fields[3] = QString::fromLatin1("Front\xffgate\xff");
        QTest::newRow("0xFF becomes a space, stripped at the end") << linesOf(fields) << "m_nev"
                                                                   << "Front gate";
        // Without a final line end the last number is taken as it came: a repeated last byte would
        // make it 00123456789011, which t8 would keep.
        fields = storedFields();
        fields.last() = QStringLiteral("000012345678901");
        QTest::newRow("no final line end") << linesOf(fields).chopped(2) << "t8"
                                           << "0012345678901";
        fields = storedFields();
        fields[10] = QStringLiteral("10,").leftJustified(16);
        QTest::newRow("empty decimal digit leaves its edit empty") << linesOf(fields) << "abe1_x_2"
                                                                   << "";
        QTest::newRow("line feeds only") << storedFields().join(QLatin1Char('\n')).toLatin1() + '\n'
                                         << "m_nev"
                                         << "Front gate";
    }

    void replyVariants() {
        QFETCH(QByteArray, reply);
        QFETCH(QString, name);
        QFETCH(QString, value);
        module->onCommand('{', {reply});
        const TransferDriver::Run run = readup(Answer::Ok);
        QVERIFY2(run.failure.isEmpty(), qPrintable(run.failure));
        QCOMPARE(run.resultText, expectedTexts().success);
        QCOMPARE(text(qPrintable(name)), value);
    }

    void failedReadLeavesTheForm_data() {
        QTest::addColumn<QByteArray>("reply");
        QTest::addColumn<char>("uploadSeparator");
        QTest::addColumn<QString>("debugText");

        const QStringList fields = storedFields();
        QTest::newRow("silent module") << QByteArray() << '|' << "sep error";
        QTest::newRow("no separator") << QByteArray("abc") << '|' << "sep error";
        QTest::newRow("line ends only, another separator") << linesOf(fields) << ';' << "sep error";
        QTest::newRow("55 fields") << linesOf(fields.mid(0, 55)) << '|' << "dberror";
        QTest::newRow("57 fields") << linesOf(fields + QStringList{"extra"}) << '|' << "dberror";
        QStringList blankText = fields;
        blankText[20] = QString(16, ' ');
        QTest::newRow("a text of spaces only: 49 values") << linesOf(blankText) << '|' << "dberror";
    }

    void failedReadLeavesTheForm() {
        QFETCH(QByteArray, reply);
        QFETCH(char, uploadSeparator);
        QFETCH(QString, debugText);
        const FormValues before = formBeforeRead();
        putWindowForm(before);
        window->settings.uploadSeparator = uploadSeparator;
        module->onCommand('{', {reply});
        QTest::ignoreMessage(QtDebugMsg, qPrintable(debugText));

        const TransferDriver::Run run = readup(Answer::Escape);
        verifyFailedRead(run, before);
        QCOMPARE(run.result, int(QDialog::Rejected));
        QCOMPARE(module->received(), QByteArray("~{"));
    }

    void reselectionAfterTheDialog_data() {
        QTest::addColumn<int>("answer");
        QTest::addColumn<int>("comboIndex");

        // Ok ends the dialog accepted after a failure too: the preset follows the unchanged number.
        QTest::newRow("Ok after a failure") << int(Answer::Ok) << 3;
        QTest::newRow("Escape after a failure") << int(Answer::Escape) << 0;
    }

    void reselectionAfterTheDialog() {
        QFETCH(int, answer);
        QFETCH(int, comboIndex);
        // The combo shows T-Mobile while the number is no operator's: only a re-selection moves it.
        window->ui->smskp_combo->setCurrentIndex(0);
        QCOMPARE(text("smskp"), QString("36309888000"));
        widget<QLineEdit>("smskp")->setText("36201234567");
        QCOMPARE(window->ui->smskp_combo->currentIndex(), 0);
        QVERIFY(!window->ui->smskp->isEnabled());
        const FormValues before = windowForm();
        QTest::ignoreMessage(QtDebugMsg, "sep error");

        const TransferDriver::Run run = readup(Answer(answer));
        verifyFailedRead(run, before);
        QCOMPARE(run.result, answer == int(Answer::Ok) ? int(QDialog::Accepted) : int(QDialog::Rejected));
        QCOMPARE(window->ui->smskp_combo->currentIndex(), comboIndex);
        QCOMPARE(window->ui->smskp->isEnabled(), comboIndex == 3);
        QCOMPARE(text("smskp"), QString("36201234567"));
    }

    // A failure waits for Ok: no self-accept.
    void failureWaitsForOk() {
        QTest::ignoreMessage(QtDebugMsg, "sep error");
        upload dialog(window->settings, window->ui->centralWidget, nullptr);
        dialog.show();
        QVERIFY(QTest::qWaitFor([&] { return TransferDriver::resultShown(&dialog); }, 5000));
        QTest::qWait(2300);
        QVERIFY(dialog.isVisible());
        QCOMPARE(dialog.result(), 0);
        TransferDriver::buttons(&dialog)->button(QDialogButtonBox::Ok)->click();
        QVERIFY(!dialog.isVisible());
        QCOMPARE(dialog.result(), int(QDialog::Accepted));
    }

    // After a success the dialog accepts itself 2000 ms after the text.
    void successAcceptsItselfAfterTwoSeconds() {
        module->onCommand('{', {linesOf(storedFields())});
        const TransferDriver::Run run = readup(Answer::SelfAccept);
        QVERIFY2(run.failure.isEmpty(), qPrintable(run.failure));
        QCOMPARE(run.resultText, expectedTexts().success);
        QCOMPARE(run.result, int(QDialog::Accepted));
        const qint64 shownFor = run.endedMs - run.resultShownMs;
        QVERIFY2(shownFor >= 1950 && shownFor < 2600, qPrintable(QString::number(shownFor)));
        QCOMPARE(text("m_nev"), QString("Front gate"));
        QCOMPARE(window->ui->smskp_combo->currentIndex(), 1);
    }

    // Cancel while the reply arrives: the dialog ends at once, rejected; the form stays, the port is
    // free, and the preset is not touched.
    void cancelWhileBytesArrive() {
        const FormValues before = formBeforeRead();
        putWindowForm(before);
        const int comboBefore = window->ui->smskp_combo->currentIndex();
        module->onCommand('{', {linesOf(storedFields()), /*paced=*/true});

        const TransferDriver::Run run = readup(Answer::CancelWhileReceiving);
        QVERIFY(run.workerRanWhenPressed);
        QCOMPARE(run.result, int(QDialog::Rejected));
        QVERIFY2(run.endedMs - run.pressedMs < 500, qPrintable(QString::number(run.endedMs - run.pressedMs)));
        verifyFailedRead(run, before);
        QCOMPARE(window->ui->smskp_combo->currentIndex(), comboBefore);
        QTRY_COMPARE(TransferReplies::threadCount("upThread"), 0);
    }

    void closeRequestsRefused() {
        module->onCommand('{', {linesOf(storedFields()), false, 200});
        upload dialog(window->settings, window->ui->centralWidget, nullptr);
        dialog.show();
        QVERIFY(QTest::qWaitForWindowExposed(&dialog));
        QVERIFY(!dialog.close());
        QVERIFY(dialog.isVisible());
        QVERIFY(!TransferDriver::resultShown(&dialog));
        QVERIFY(QTest::qWaitFor([&] { return TransferDriver::resultShown(&dialog); }, 5000));
        QVERIFY(!dialog.close());
        QVERIFY(dialog.isVisible());
        QCOMPARE(TransferDriver::message(&dialog)->text(), expectedTexts().success);
        dialog.reject();
    }
};

QTEST_MAIN(TestUpload)
#include "tst_upload.moc"
