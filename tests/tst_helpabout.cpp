#include "dialogs/about.h"
#include "dialogs/help.h"
#include "mainwindow/mainwindow.h"
#include "support/latefifo.h"
#include "support/watchedterminal.h"

#include <QDialogButtonBox>
#include <QDir>
#include <QElapsedTimer>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>
#include <QVBoxLayout>

#include <optional>
#include <thread>

#include <fcntl.h>
#include <sys/stat.h>

namespace {

const bool english = QByteArray(DOWNLOADER_BUILD_LANGUAGE) == "en";

QString missingFileText() {
    return english ? QStringLiteral("ERROR: cannot open the help-file.")
                   : QString::fromUtf8("HIBA: nem lehet megnyitni a help fájlt.");
}

// How many of the help dialog's looks at its file, while a thread swaps the file's name again and
// again with other (as an editor that saves by renaming does), showed anything but the texts
// allowed; nothing where names cannot be swapped. An open that looks at a name and then opens it
// again goes wrong in one look of ten or more, on a busy machine too.
std::optional<int> looksShowingOtherThan(const QString &other, const QStringList &allowed) {
    const QByteArray one = "tkm-730.hlp";
    const QByteArray two = QFile::encodeName(other);
    const auto swap = [&] { return ::renameat2(AT_FDCWD, one, AT_FDCWD, two, RENAME_EXCHANGE) == 0; };
    if (!swap())
        return std::nullopt;
    const std::jthread swapping([&](std::stop_token stop) {
        while (!stop.stop_requested())
            swap();
    });
    int wrong = 0;
    for (int look = 0; look < 1000; ++look) {
        help dialog;
        wrong += !allowed.contains(dialog.ui->plainTextEdit->toPlainText());
    }
    return wrong;
}

void writeHelpFile(const QByteArray &content) {
    QFile file(QStringLiteral("tkm-730.hlp"));
    QVERIFY(file.open(QIODevice::WriteOnly));
    QCOMPARE(file.write(content), content.size());
}

} // namespace

class TestHelpAbout : public QObject {
    Q_OBJECT

private slots:
    // Each case runs in a fresh, empty working directory.
    void init() {
        workDir.reset(new QTemporaryDir);
        QVERIFY(workDir->isValid());
        QVERIFY(QDir::setCurrent(workDir->path()));
    }

    void cleanup() {
        QDir::setCurrent(QDir::tempPath());
        workDir.reset();
    }

    void helpShowsTheFileUpToTheDashLine_data() {
        QTest::addColumn<QByteArray>("content");
        QTest::addColumn<QString>("shown");

        QTest::newRow("stops after the dash line") << QByteArray("First line\n---\nhidden\n") << "First line\n---\n";
        QTest::newRow("dash line first") << QByteArray("---\nhidden\n") << "---\n";
        QTest::newRow("no dash line") << QByteArray("one\ntwo\nthree\n") << "one\ntwo\nthree\n";
        QTest::newRow("last line without line feed") << QByteArray("one\ntwo") << "one\ntwo\n";
        QTest::newRow("dash line with a blank does not stop")
            << QByteArray("a\n--- \nb\n---\nc\n") << "a\n--- \nb\n---\n";
        QTest::newRow("four dashes do not stop") << QByteArray("a\n----\nb\n") << "a\n----\nb\n";
        QTest::newRow("blank before dashes does not stop") << QByteArray(" ---\nb\n") << " ---\nb\n";
        QTest::newRow("empty file") << QByteArray() << "\n";
        QTest::newRow("carriage return line ends") << QByteArray("one\r\n---\r\ntwo\r\n") << "one\n---\n";
        QTest::newRow("empty lines kept") << QByteArray("\n\nx\n") << "\n\nx\n";
        QTest::newRow("locale encoding") << QByteArray("S\xc3\xbag\xc3\xb3\n")
                                         << QString::fromLocal8Bit("S\xc3\xbag\xc3\xb3\n");
        const QByteArray long300KiB = QByteArray("help text\n").repeated(30 << 10);
        QTest::newRow("300 KiB, no dash line") << long300KiB << QString::fromLatin1(long300KiB);
    }

    void helpShowsTheFileUpToTheDashLine() {
        QFETCH(QByteArray, content);
        QFETCH(QString, shown);
        writeHelpFile(content);
        // Installed help files are read-only to their users.
        QCOMPARE(::chmod("tkm-730.hlp", 0444), 0);

        help dialog;
        QCOMPARE(dialog.ui->plainTextEdit->toPlainText(), shown);
        QVERIFY(dialog.ui->plainTextEdit->isReadOnly());
        QCOMPARE(dialog.ui->plainTextEdit->lineWrapMode(), QPlainTextEdit::NoWrap);
    }

    // A file saved by renaming takes the name of another: every look, however the two swap, shows
    // one of them.
    void helpShowsOneOfTwoFilesWhoseNamesSwap() {
        writeHelpFile("one\n");
        QVERIFY(QFile::rename(QStringLiteral("tkm-730.hlp"), QStringLiteral("other.hlp")));
        writeHelpFile("two\n");
        const std::optional<int> wrong = looksShowingOtherThan(QStringLiteral("other.hlp"), {"one\n", "two\n"});
        if (!wrong)
            QSKIP("Names cannot be swapped here");
        QCOMPARE(*wrong, 0);
    }

    void helpWithoutFileShowsTheErrorText_data() {
        QTest::addColumn<QString>("kind"); // what stands at the help file's name
        QTest::newRow("no file") << "none";
        QTest::newRow("folder of that name") << "folder";
        QTest::newRow("FIFO of that name") << "fifo";
        QTest::newRow("8 MiB file") << "8 MiB";
        QTest::newRow("link to a terminal") << "terminal";
        QTest::newRow("8 MiB file swapped with a link to a terminal") << "8 MiB, swapped with a terminal";
    }

    // Nothing that can be shown whole: the missing-file text, without waiting. A terminal or a FIFO
    // is not even opened.
    void helpWithoutFileShowsTheErrorText() {
        QFETCH(QString, kind);
        const QString name = QStringLiteral("tkm-730.hlp");
        WatchedTerminal terminal;
        QVERIFY(terminal.isValid());
        if (kind == QLatin1String("folder"))
            QVERIFY(QDir().mkdir(name));
        else if (kind == QLatin1String("fifo"))
            QCOMPARE(mkfifo(QFile::encodeName(name).constData(), 0600), 0);
        else if (kind.startsWith(QLatin1String("8 MiB")))
            writeHelpFile(QByteArray(8 << 20, 'x'));
        else if (kind == QLatin1String("terminal"))
            QVERIFY(terminal.linkAt(name));
        if (kind.endsWith(QLatin1String("swapped with a terminal"))) {
            QVERIFY(terminal.linkAt(QStringLiteral("terminal")));
            const std::optional<int> wrong = looksShowingOtherThan(QStringLiteral("terminal"), {missingFileText()});
            if (!wrong)
                QSKIP("Names cannot be swapped here");
            QCOMPARE(*wrong, 0);
        }
        const LateFifoEnd fifo(name);
        QVERIFY(fifo.isValid());

        QElapsedTimer clock;
        clock.start();
        help dialog;
        QVERIFY2(clock.elapsed() < LateFifoEnd::lateMs, qPrintable(QStringLiteral("took %1 ms").arg(clock.elapsed())));
        QVERIFY(!fifo.opened());
        QCOMPARE(dialog.ui->plainTextEdit->toPlainText(), missingFileText());
        QVERIFY(dialog.ui->plainTextEdit->isReadOnly());
        QCOMPARE(dialog.ui->plainTextEdit->lineWrapMode(), QPlainTextEdit::WidgetWidth);
        QVERIFY(!terminal.opened());
    }

    void helpWindowHasFixedSizeAndCloseButton() {
        help dialog;
        QCOMPARE(dialog.objectName(), QStringLiteral("help"));
        QCOMPARE(dialog.windowTitle(), QStringLiteral("Help"));
        QCOMPARE(dialog.size(), QSize(880, 680));
        QCOMPARE(dialog.minimumSize(), QSize(880, 680));
        QCOMPARE(dialog.maximumSize(), QSize(880, 680));
        QCOMPARE(dialog.ui->plainTextEdit->geometry(), QRect(10, 10, 860, 630));
        QCOMPARE(dialog.ui->buttonBox->geometry(), QRect(10, 645, 860, 32));
        QCOMPARE(dialog.ui->buttonBox->standardButtons(), QDialogButtonBox::Close);
        QVERIFY(dialog.ui->buttonBox->centerButtons());
    }

    void helpCloseButtonHidesTheWindow() {
        help dialog;
        dialog.show();
        QVERIFY(QTest::qWaitForWindowExposed(&dialog));
        dialog.ui->buttonBox->button(QDialogButtonBox::Close)->click();
        QVERIFY(!dialog.isVisible());
        QCOMPARE(dialog.result(), int(QDialog::Rejected));
    }

    void helpLanguageChangeRestoresTitleOnly() {
        writeHelpFile("text\n");
        help dialog;
        dialog.setWindowTitle(QStringLiteral("changed"));
        dialog.ui->plainTextEdit->setPlainText(QStringLiteral("edited"));
        QEvent languageChange(QEvent::LanguageChange);
        QCoreApplication::sendEvent(&dialog, &languageChange);
        QCOMPARE(dialog.windowTitle(), QStringLiteral("Help"));
        QCOMPARE(dialog.ui->plainTextEdit->toPlainText(), QStringLiteral("edited"));
    }

    void aboutShowsTheBuildsTexts() {
        about dialog;
        QCOMPARE(dialog.objectName(), QStringLiteral("about"));
        QCOMPARE(dialog.windowTitle(), QString::fromUtf8("Névjegy"));
        QCOMPARE(dialog.size(), QSize(311, 200));
        QCOMPARE(dialog.ui->verticalLayoutWidget->geometry(), QRect(20, 20, 268, 164));
        QCOMPARE(dialog.ui->label_6->text(), QStringLiteral("Version v1.6"));
        QVERIFY(dialog.ui->label_3->text().contains(QLatin1Char('\n')));
        if (english)
            QVERIFY(dialog.ui->label->text().contains(QStringLiteral("All rights reserved")));
        else
            QVERIFY(dialog.ui->label->text().contains(QStringLiteral("Minden jog fenntartva")));
        // The Hungarian author line is the e-mail address alone.
        QCOMPARE(dialog.ui->label_4->text().contains(QLatin1Char(' ')), english);
        QVERIFY(dialog.ui->label_4->text().contains(QLatin1Char('@')));
        QVERIFY(dialog.ui->label_2->text().contains(QLatin1Char('@')));
    }

    void aboutLayoutOrder() {
        about dialog;
        const QList<QWidget *> expected = {dialog.ui->label,   dialog.ui->label_3, dialog.ui->label_2,
                                           dialog.ui->label_4, dialog.ui->label_6, dialog.ui->buttonBox};
        QList<QWidget *> shown;
        QList<int> spacerPositions;
        for (int i = 0; i < dialog.ui->verticalLayout->count(); ++i) {
            QLayoutItem *item = dialog.ui->verticalLayout->itemAt(i);
            if (item->widget())
                shown << item->widget();
            else if (item->spacerItem())
                spacerPositions << i;
        }
        QCOMPARE(shown, expected);
        QCOMPARE(spacerPositions, (QList<int>{3, 5}));
        for (QLabel *label : dialog.findChildren<QLabel *>())
            QCOMPARE(label->alignment(), Qt::AlignCenter);
        QCOMPARE(dialog.ui->buttonBox->standardButtons(), QDialogButtonBox::Close);
    }

    void aboutLanguageChangeRestoresAllTexts() {
        about dialog;
        const QString version = dialog.ui->label_6->text();
        const QString maker = dialog.ui->label->text();
        dialog.setWindowTitle(QStringLiteral("changed"));
        for (QLabel *label : dialog.findChildren<QLabel *>())
            label->clear();
        QEvent languageChange(QEvent::LanguageChange);
        QCoreApplication::sendEvent(&dialog, &languageChange);
        QCOMPARE(dialog.windowTitle(), QString::fromUtf8("Névjegy"));
        QCOMPARE(dialog.ui->label_6->text(), version);
        QCOMPARE(dialog.ui->label->text(), maker);
        for (QLabel *label : dialog.findChildren<QLabel *>())
            QVERIFY(!label->text().isEmpty());
    }

    // Each Help or About command opens a further modeless window owned by the main window.
    void slotsOpenAFurtherModelessWindowEachTime() {
        writeHelpFile("first\n");
        MainWindow window;
        window.contents();
        writeHelpFile("second\n");
        window.contents();
        window.nevjegy();
        window.nevjegy();

        const QList<help *> helps = window.findChildren<help *>();
        QCOMPARE(helps.size(), 2);
        QCOMPARE(helps.at(0)->ui->plainTextEdit->toPlainText(), QStringLiteral("first\n"));
        QCOMPARE(helps.at(1)->ui->plainTextEdit->toPlainText(), QStringLiteral("second\n"));
        const QList<about *> abouts = window.findChildren<about *>();
        QCOMPARE(abouts.size(), 2);
        const QList<QDialog *> dialogs = {helps.at(0), helps.at(1), abouts.at(0), abouts.at(1)};
        for (QDialog *dialog : dialogs) {
            QVERIFY(dialog->isVisible());
            QVERIFY(!dialog->isModal());
            QCOMPARE(dialog->parent(), &window);
        }

        helps.at(0)->close();
        QVERIFY(!helps.at(0)->isVisible());
        QCOMPARE(window.findChildren<help *>().size(), 2);
    }

private:
    std::unique_ptr<QTemporaryDir> workDir;
};

QTEST_MAIN(TestHelpAbout)
#include "tst_helpabout.moc"
