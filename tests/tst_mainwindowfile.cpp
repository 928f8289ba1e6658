#include "configfile/smsfile.h"
#include "mainwindow/formlists.h"
#include "mainwindow/formvalues.h"
#include "mainwindow/mainwindow.h"
#include "mainwindow/ui_mainwindow.h"
#include "support/buildtexts.h"
#include "support/filedialog.h"
#include "support/latefifo.h"
#include "support/modal.h"
#include "support/watchedterminal.h"

#include <QCheckBox>
#include <QDir>
#include <QElapsedTimer>
#include <QFileDialog>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QRadioButton>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QTest>

#include <memory>

#include <sys/stat.h>

Q_DECLARE_METATYPE(FormValues)

namespace {

using BuildTexts::byBuild;
using Modal::Answer;
using Modal::answerFileDialog;
using Modal::ShownDialog;

const QString defaultFile = QStringLiteral("default_tkm-720.sms");

QString noFileText() {
    return byBuild("No file.", "Nincs megnyitott fájl.");
}
QString fileErrorTitle() {
    return byBuild("File error", "File hiba");
}
QString syntaxText() {
    return byBuild("Cannot open the file. Tip: check file-syntax.",
                   "Nem lehet megnyitni a fájlt. Tipp: ellenőrizze a fájl szintaxisát.");
}
QString missingText() {
    return byBuild("The selected file doesn't exist.", "A kiválasztott fájl nem létezik.");
}

FormValues formOf(const MainWindow &window) {
    return readForm(formLists(window.ui->centralWidget));
}

// A form unlike the defaults and unlike the other variant in every edit (spaces kept inside and at
// both ends, each text within its edit's maximum length), with some rights checked, phone row R on
// output (R + variant) % 5, and outputs 2 and 4 (variant 1) or 1 and 3 (variant 2) monostable.
FormValues sampleForm(int variant) {
    static const QMap<QString, int> shortEdits{
        {"m_pin", 4},    {"m_id", 4},      {"visszaallas", 1}, {"rele_time", 4}, {"maxsms", 2},
        {"abe1_lo", 1},  {"abe1_lo_2", 1}, {"abe1_hi", 1},     {"abe1_hi_2", 1}, {"abe1_x", 2},
        {"abe1_x_2", 1}, {"abe2_lo", 1},   {"abe2_lo_2", 1},   {"abe2_hi", 1},   {"abe2_hi_2", 1},
        {"abe2_x", 2},   {"abe2_x_2", 1},  {"t1", 14},         {"t2", 14},       {"t3", 14},
        {"t4", 14},      {"t5", 14},       {"t6", 14},         {"t7", 14},       {"t8", 14}};
    FormValues form = FormValues::defaults();
    for (int i = 0; i < form.edits.size(); ++i) {
        const QString &name = form.editNames.at(i);
        const int length = shortEdits.value(name, 16);
        if (length == 1)
            form.edits[i] = QString::number((i + 3 * variant) % 10);
        else if (length == 2)
            form.edits[i] = QString::number(10 * variant + i % 10);
        else if (length == 4)
            form.edits[i] = QStringLiteral("%1 %2").arg(variant).arg(i, 2, 10, QLatin1Char('0'));
        else
            form.edits[i] = QStringLiteral(" v%1 %2 %3 ").arg(variant).arg(i).arg(name).left(length);
    }
    if (variant == 1)
        form.edits[3] = QString::fromUtf8("Kapú 1"); // m_nev: written in the locale's encoding
    for (int i = 0; i < form.checks.size(); ++i)
        form.checks[i] = i % (variant + 2) == 0;
    for (int i = 0; i < form.radios.size(); ++i) {
        const QString &name = form.radioNames.at(i);
        if (name.startsWith(QLatin1Char('r'))) {
            const int row = name.mid(1, 1).toInt();
            const int output = name.mid(3).toInt();
            form.radios[i] = output == (row + variant) % 5;
        } else {
            const int number = name.mid(1).toInt();
            const bool monostable = number % 2 != variant % 2;
            form.radios[i] = name.startsWith(QLatin1Char('k')) == monostable;
        }
    }
    return form;
}

// Sets the form's widgets by object name. A radio is only ever checked: its group partners follow.
void putForm(MainWindow &window, const FormValues &form) {
    for (int i = 0; i < form.edits.size(); ++i)
        window.findChild<QLineEdit *>(form.editNames.at(i))->setText(form.edits.at(i));
    for (int i = 0; i < form.checks.size(); ++i)
        window.findChild<QCheckBox *>(FormLayout::checkNames().at(i))->setChecked(form.checks.at(i));
    for (int i = 0; i < form.radios.size(); ++i) {
        if (form.radios.at(i))
            window.findChild<QRadioButton *>(form.radioNames.at(i))->setChecked(true);
    }
}

// The lines of the file of a form: edit texts, then "1" or "0" for each check box and radio button.
QStringList linesOf(const FormValues &form) {
    QStringList lines = form.edits;
    for (bool checked : form.checks)
        lines << QString::number(int(checked));
    for (bool checked : form.radios)
        lines << QString::number(int(checked));
    return lines;
}

QByteArray bytesOf(const QStringList &lines, const char *lineEnd = "\r\n") {
    QByteArray bytes;
    for (const QString &line : lines)
        bytes += line.toLocal8Bit() + lineEnd;
    return bytes;
}

void writeFile(const QString &name, const QByteArray &bytes) {
    QFile file(name);
    QVERIFY(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
    QCOMPARE(file.write(bytes), bytes.size());
}

QByteArray readFile(const QString &name) {
    QFile file(name);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("<unreadable>");
}

// Puts at name what the loader must refuse without reading it through: a 1 GB file of zero bytes
// without a line end ("sparse": it takes no disk space), a file of 151 lines one byte over 1 MiB,
// a FIFO that nobody writes to, or a link to a FIFO or to /dev/zero.
void makeCostlyFile(const QString &kind, const QString &name) {
    if (kind == QLatin1String("over 1 MiB")) {
        QStringList lines = linesOf(FormValues::defaults());
        lines[3].clear(); // m_nev
        const qsizetype fill = (1 << 20) + 1 - bytesOf(lines).size();
        lines[3] = QString(fill, QLatin1Char('n'));
        const QByteArray bytes = bytesOf(lines);
        QCOMPARE(bytes.size(), (1 << 20) + 1);
        writeFile(name, bytes);
    } else if (kind == QLatin1String("sparse")) {
        QFile file(name);
        QVERIFY(file.open(QIODevice::WriteOnly));
        QVERIFY(file.resize(qint64(1) << 30));
    } else if (kind == QLatin1String("fifo")) {
        QCOMPARE(mkfifo(QFile::encodeName(name).constData(), 0600), 0);
    } else if (kind == QLatin1String("link to a fifo")) {
        QCOMPARE(mkfifo("fifo", 0600), 0);
        QVERIFY(QFile::link(QStringLiteral("fifo"), name));
    } else if (kind == QLatin1String("link to /dev/zero")) {
        QVERIFY(QFile::link(QStringLiteral("/dev/zero"), name));
    } else {
        QFAIL("unknown kind of file");
    }
}

} // namespace

class TestMainWindowFile : public QObject {
    Q_OBJECT

    std::unique_ptr<QTemporaryDir> workDir;
    std::unique_ptr<MainWindow> window;

    // A window that has loaded the given form from "prior.sms": the state a failed load or save
    // must leave alone.
    void openPriorFile(const FormValues &form) {
        writeFile(QStringLiteral("prior.sms"), bytesOf(linesOf(form)));
        window = std::make_unique<MainWindow>();
        window->settings.filePath = QStringLiteral("prior.sms");
        window->loadSmsFile();
        QCOMPARE(formOf(*window), form);
        QCOMPARE(window->fileLabel->text(), QStringLiteral("prior.sms"));
    }

    void verifyPriorFileKept(const FormValues &form) {
        QCOMPARE(formOf(*window), form);
        QCOMPARE(window->settings.fileName, QStringLiteral("prior.sms"));
        QCOMPARE(window->fileLabel->text(), QStringLiteral("prior.sms"));
    }

private slots:
    // Each case runs in a fresh, empty working directory: the window loads its default file there.
    void init() {
        workDir = std::make_unique<QTemporaryDir>();
        QVERIFY(workDir->isValid());
        QVERIFY(QDir::setCurrent(workDir->path()));
    }

    void cleanup() {
        window.reset();
        QDir::setCurrent(QDir::tempPath());
        workDir.reset();
    }

    void saveWritesTheFormAndOpenRestoresIt() {
        window = std::make_unique<MainWindow>();
        const FormValues form = sampleForm(1);
        putForm(*window, form);
        QCOMPARE(formOf(*window), form);
        window->ui->tabWidget->setCurrentIndex(2);

        ShownDialog shown;
        answerFileDialog(QStringLiteral("conf.sms"), Answer::Accept, &shown);
        {
            Modal::MessageBoxCatcher catcher;
            window->save();
            QCOMPARE(catcher.titles, QStringList(byBuild("Save", "Mentés")));
            QCOMPARE(catcher.texts, QStringList(byBuild("Success.", "Sikeres mentés.")));
            QCOMPARE(catcher.icons, QList<int>{QMessageBox::Information});
        }
        QCOMPARE(shown.caption, byBuild("Save file", "Fájl mentése"));
        QCOMPARE(shown.filters, QStringList(QStringLiteral("SMS Files (*.sms)")));
        QCOMPARE(shown.directory, workDir->path());
        QCOMPARE(shown.mode, QFileDialog::AcceptSave);
        QCOMPARE(window->ui->tabWidget->currentIndex(), 0);
        QCOMPARE(window->settings.filePath, workDir->filePath(QStringLiteral("conf.sms")));
        QCOMPARE(window->settings.fileName, QStringLiteral("conf.sms"));
        QCOMPARE(window->fileLabel->text(), QStringLiteral("conf.sms"));

        // The file, byte for byte, built from the widgets by name in the order of the form lists.
        QByteArray expected;
        for (const QString &name : FormLayout::editNames())
            expected += window->findChild<QLineEdit *>(name)->text().toLocal8Bit() + "\r\n";
        for (const QString &name : FormLayout::checkNames())
            expected += window->findChild<QCheckBox *>(name)->isChecked() ? "1\r\n" : "0\r\n";
        for (const QString &name : FormLayout::radioNames())
            expected += window->findChild<QRadioButton *>(name)->isChecked() ? "1\r\n" : "0\r\n";
        const QByteArray saved = readFile(QStringLiteral("conf.sms"));
        QCOMPARE(saved, expected);
        QCOMPARE(saved.count("\r\n"), 151);
        QCOMPARE(saved.count('\n'), 151);
        QVERIFY(saved.endsWith("\r\n"));

        // A fresh window opens it through the dialog and shows the same form.
        window = std::make_unique<MainWindow>();
        QCOMPARE(formOf(*window), FormValues::defaults());
        answerFileDialog(QStringLiteral("conf.sms"), Answer::Accept, &shown);
        {
            Modal::MessageBoxCatcher catcher;
            window->openfile();
            QVERIFY(catcher.texts.isEmpty());
        }
        QCOMPARE(shown.caption, byBuild("Open file", "Fájl megnyitása"));
        QCOMPARE(shown.filters, QStringList(QStringLiteral("SMS Files (*.sms)")));
        QCOMPARE(shown.mode, QFileDialog::AcceptOpen);
        QCOMPARE(formOf(*window), form);
        QCOMPARE(window->fileLabel->text(), QStringLiteral("conf.sms"));
        // The operator is not stored: it follows from the number, here no preset's.
        QCOMPARE(window->ui->smskp_combo->currentIndex(), 3);
        QVERIFY(window->ui->smskp->isEnabled());
    }

    void savedNameIsShown_data() {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("shown");
        QTest::newRow("no point") << "conf"
                                  << "conf.";
        QTest::newRow("several points") << "a.b.sms"
                                        << "a.b.sms";
        QTest::newRow("other suffix") << "conf.txt"
                                      << "conf.txt";
    }

    void savedNameIsShown() {
        QFETCH(QString, name);
        QFETCH(QString, shown);
        window = std::make_unique<MainWindow>();
        answerFileDialog(name, Answer::Accept);
        Modal::MessageBoxCatcher catcher;
        window->save();
        QCOMPARE(catcher.texts, QStringList(byBuild("Success.", "Sikeres mentés.")));
        QCOMPARE(QDir().entryList(QDir::Files), QStringList(name)); // no suffix added
        QCOMPARE(window->settings.filePath, workDir->filePath(name));
        QCOMPARE(window->settings.fileName, shown);
        QCOMPARE(window->fileLabel->text(), shown);
    }

    void saveFailureKeepsTheCurrentFile_data() {
        QTest::addColumn<QString>("name");
        QTest::addColumn<bool>("folder");
        QTest::newRow("folder of that name") << "conf.sms" << true;
        QTest::newRow("missing folder") << "nofolder/conf.sms" << false;
    }

    void saveFailureKeepsTheCurrentFile() {
        QFETCH(QString, name);
        QFETCH(bool, folder);
        const FormValues prior = sampleForm(2);
        openPriorFile(prior);
        if (folder)
            QVERIFY(QDir().mkdir(name));
        const QString priorPath = window->settings.filePath;

        // The dialog itself steps into a folder; a system dialog may hand it back, so force it.
        answerFileDialog(name, folder ? Answer::Force : Answer::Accept);
        Modal::MessageBoxCatcher catcher;
        window->save();
        QCOMPARE(catcher.titles, QStringList(fileErrorTitle()));
        QCOMPARE(catcher.texts, QStringList(byBuild("Cannot save the file.", "Nem sikerült menteni a fájlt.")));
        QCOMPARE(catcher.icons, QList<int>{QMessageBox::Critical});
        QCOMPARE(window->settings.filePath, priorPath);
        verifyPriorFileKept(prior);
        QCOMPARE(QFileInfo(name).isDir(), folder);
    }

    void cancelledDialogsChangeNothing() {
        const FormValues prior = sampleForm(2);
        openPriorFile(prior);
        writeFile(QStringLiteral("other.sms"), bytesOf(linesOf(sampleForm(1))));
        Modal::MessageBoxCatcher catcher;

        answerFileDialog(QString(), Answer::Cancel);
        window->save();
        QCOMPARE(window->settings.filePath, QStringLiteral("prior.sms"));
        QCOMPARE(QDir().entryList(QDir::Files), QStringList({"other.sms", "prior.sms"}));

        answerFileDialog(QString(), Answer::Cancel);
        window->openfile();
        QVERIFY(window->settings.filePath.isNull());
        verifyPriorFileKept(prior);
        QVERIFY(catcher.texts.isEmpty());
    }

    void load_data() {
        QTest::addColumn<QByteArray>("content");
        QTest::addColumn<bool>("loads");
        QTest::addColumn<FormValues>("expected"); // the form after a successful load

        // Before each load the window shows the prior form (variant 2).
        const FormValues form = sampleForm(1);
        const QStringList lines = linesOf(form);
        const QByteArray file = bytesOf(lines);
        const int firstRadio = 55 + 48;
        const auto radioLine = [&](const char *name) { return firstRadio + FormLayout::radioNames().indexOf(name); };
        const auto checkLine = [&](const char *name) { return 55 + FormLayout::checkNames().indexOf(name); };
        const auto withLine = [&](int index, const QString &line) {
            QStringList changed = lines;
            changed[index] = line;
            return changed;
        };

        QTest::newRow("CR LF line ends") << file << true << form;
        QTest::newRow("no line end after the last line") << file.chopped(2) << true << form;
        QTest::newRow("LF line ends") << bytesOf(lines, "\n") << true << form;
        QTest::newRow("152 lines") << file + "\r\n" << false << form;
        QTest::newRow("150 lines") << bytesOf(lines.mid(0, 150)) << false << form;
        QTest::newRow("empty file") << QByteArray() << false << form;

        // Line 151 is b4's. This form has output 4 monostable (k4 "1", b4 "0"), the prior form
        // bistable: a dash line taken as "1" would leave b4 checked.
        QVERIFY(form.radios.last() == false && form.radios.at(46));
        QTest::newRow("dash line as line 151") << bytesOf(withLine(150, "---")) << true << form;
        QTest::newRow("lines after the dash line ignored") << bytesOf(withLine(150, "---")) + "1\r\nmore\r\n"
                                                           << true << form;
        QTest::newRow("dash line earlier") << bytesOf(withLine(99, "---")) << false << form;
        QTest::newRow("dash line as an edit's text") << bytesOf(withLine(20, "---")) << false << form;

        QStringList longLines = withLine(19, "----");
        longLines[1] = QStringLiteral("123456"); // m_pin takes four characters
        FormValues longer = form;
        longer.edits[1] = QStringLiteral("1234");
        longer.edits[19] = QStringLiteral("----");
        QTest::newRow("longer lines cut, four dashes are text") << bytesOf(longLines) << true << longer;

        // However long a line is, its edit cuts it, up to a file of 1 MiB in all.
        FormValues cut = form;
        cut.edits[3] = QString(16, QLatin1Char('n')); // m_nev
        for (int length : {1024, 1025, 5000}) {
            QTest::addRow("line of %d characters cut", length)
                << bytesOf(withLine(3, QString(length, QLatin1Char('n')))) << true << cut;
        }
        const qsizetype mebibyteLine = (1 << 20) - bytesOf(withLine(3, QString())).size();
        const QByteArray mebibyte = bytesOf(withLine(3, QString(mebibyteLine, QLatin1Char('n'))));
        QCOMPARE(mebibyte.size(), 1 << 20);
        QTest::newRow("file of 1 MiB") << mebibyte << true << cut;

        // tc4_7 and tc1_10 are checked in the variant-1 form (every third box).
        QVERIFY(form.checks.at(checkLine("tc4_7") - 55) && form.checks.at(checkLine("tc1_10") - 55));
        const QString paddedOne = QStringLiteral("1") + QString(2000, QLatin1Char(' '));
        const QList<std::pair<QByteArray, QString>> notOne{{"\" 1\"", " 1"},   {"\"1 \"", "1 "},
                                                           {"\"yes\"", "yes"}, {"\"\"", ""},
                                                           {"\"01\"", "01"},   {"1 and 2000 spaces", paddedOne}};
        for (const auto &[label, line] : notOne) {
            QStringList changed = withLine(checkLine("tc4_7"), line);
            changed[checkLine("tc1_10")] = line;
            FormValues expected = form;
            expected.checks[checkLine("tc4_7") - 55] = false;
            expected.checks[checkLine("tc1_10") - 55] = false;
            QTest::addRow("check-box line %s", label.constData()) << bytesOf(changed) << true << expected;
        }

        // Row 3: on output 4 in this form ((3 + 1) % 5), on output 0 in the prior one.
        QVERIFY(form.radios.at(radioLine("r3_4") - firstRadio));
        FormValues rowKept = form;
        rowKept.radios[radioLine("r3_4") - firstRadio] = false;
        rowKept.radios[radioLine("r3_0") - firstRadio] = true;
        const QList<std::pair<QByteArray, QString>> radioNotOne{
            {"\"0\"", "0"}, {"\" 1\"", " 1"}, {"\"true\"", "true"}, {"\"\"", ""}, {"1 and 2000 spaces", paddedOne}};
        for (const auto &[label, line] : radioNotOne) {
            QTest::addRow("radio line %s keeps the prior choice", label.constData())
                << bytesOf(withLine(radioLine("r3_4"), line)) << true << rowKept;
        }
        // Row 2: r2_2 comes before r2_1 in the list; the later "1" wins.
        QStringList twoOnes = lines;
        for (const char *name : {"r2_2", "r2_3", "r2_1"})
            twoOnes[radioLine(name)] = QString::number(QByteArray(name) != "r2_3");
        FormValues laterWins = form;
        for (const char *name : {"r2_4", "r2_3", "r2_2", "r2_0"})
            laterWins.radios[radioLine(name) - firstRadio] = false;
        laterWins.radios[radioLine("r2_1") - firstRadio] = true;
        QTest::newRow("two radios of a row set") << bytesOf(twoOnes) << true << laterWins;
    }

    void load() {
        QFETCH(QByteArray, content);
        QFETCH(bool, loads);
        QFETCH(FormValues, expected);
        const FormValues prior = sampleForm(2);
        openPriorFile(prior);
        writeFile(QStringLiteral("case.sms"), content);
        QCOMPARE(::chmod("case.sms", 0444), 0); // only read, so it may be read-only
        window->settings.dataText = QStringLiteral("stale");
        window->ui->tabWidget->setCurrentIndex(3);

        Modal::MessageBoxCatcher catcher;
        window->settings.filePath = QStringLiteral("case.sms");
        window->loadSmsFile();

        QCOMPARE(window->ui->tabWidget->currentIndex(), 0);
        QCOMPARE(window->settings.filePath, QStringLiteral("case.sms"));
        if (loads) {
            QVERIFY(catcher.texts.isEmpty());
            QCOMPARE(formOf(*window), expected);
            QCOMPARE(window->settings.fileName, QStringLiteral("case.sms"));
            QCOMPARE(window->fileLabel->text(), QStringLiteral("case.sms"));
            QVERIFY(window->settings.dataText.isEmpty());
        } else {
            QCOMPARE(catcher.titles, QStringList(fileErrorTitle()));
            QCOMPARE(catcher.texts, QStringList(syntaxText()));
            QCOMPARE(catcher.icons, QList<int>{QMessageBox::Critical});
            verifyPriorFileKept(prior);
            QCOMPARE(window->settings.dataText, QStringLiteral("stale"));
        }
    }

    void costlyFileRefusedAtOnce_data() {
        QTest::addColumn<QString>("kind");
        QTest::newRow("151 lines, 1 MiB and a byte") << "over 1 MiB";
        QTest::newRow("1 GB sparse file") << "sparse";
        QTest::newRow("FIFO") << "fifo";
        QTest::newRow("link to a FIFO") << "link to a fifo";
        QTest::newRow("link to /dev/zero") << "link to /dev/zero";
        QTest::newRow("link to a terminal") << "terminal";
    }

    // Refused, and a terminal or a FIFO not even opened.
    void costlyFileRefusedAtOnce() {
        QFETCH(QString, kind);
        const FormValues prior = sampleForm(2);
        openPriorFile(prior);
        WatchedTerminal terminal;
        QVERIFY(terminal.isValid());
        if (kind == QLatin1String("terminal"))
            QVERIFY(terminal.linkAt(QStringLiteral("case.sms")));
        else
            makeCostlyFile(kind, QStringLiteral("case.sms"));
        const LateFifoEnd fifo(QStringLiteral("case.sms"));
        QVERIFY(fifo.isValid());

        Modal::MessageBoxCatcher catcher;
        window->settings.filePath = QStringLiteral("case.sms");
        QElapsedTimer clock;
        clock.start();
        window->loadSmsFile();
        QVERIFY2(clock.elapsed() < LateFifoEnd::lateMs, qPrintable(QStringLiteral("took %1 ms").arg(clock.elapsed())));
        QVERIFY(!fifo.opened());
        QCOMPARE(catcher.titles, QStringList(fileErrorTitle()));
        QCOMPARE(catcher.texts, QStringList(syntaxText()));
        QCOMPARE(window->settings.filePath, QStringLiteral("case.sms"));
        verifyPriorFileKept(prior);
        QVERIFY(!terminal.opened());
    }

    void missingFile_data() {
        QTest::addColumn<QString>("path");
        QTest::addColumn<bool>("reported");
        QTest::newRow("another file") << "gone.sms" << true;
        QTest::newRow("the current file, deleted") << "prior.sms" << true;
        QTest::newRow("the default file") << defaultFile << false;
        QTest::newRow("the default file by another path") << "./" + defaultFile << true;
    }

    void missingFile() {
        QFETCH(QString, path);
        QFETCH(bool, reported);
        const FormValues prior = sampleForm(2);
        openPriorFile(prior);
        QVERIFY(QFile::remove(QStringLiteral("prior.sms")));

        Modal::MessageBoxCatcher catcher;
        window->settings.filePath = path;
        window->loadSmsFile();
        QCOMPARE(catcher.texts, reported ? QStringList(missingText()) : QStringList());
        if (reported) {
            QCOMPARE(catcher.titles, QStringList(fileErrorTitle()));
            QCOMPARE(catcher.icons, QList<int>{QMessageBox::Critical});
        }
        QCOMPARE(window->settings.filePath, path);
        verifyPriorFileKept(prior);
    }

    void loadSelectsTheOperator_data() {
        QTest::addColumn<int>("comboBefore");
        QTest::addColumn<QString>("number");
        QTest::addColumn<int>("operatorIndex");
        QTest::newRow("T-Mobile") << 3 << "36309888000" << 0;
        QTest::newRow("Telenor") << 0 << "36209300099" << 1;
        QTest::newRow("Vodafone") << 0 << "36709996500" << 2;
        QTest::newRow("Telenor from Other") << 3 << "36209300099" << 1;
        QTest::newRow("space inside") << 0 << "3620 9300099" << 3;
        QTest::newRow("leading plus") << 1 << "+36209300099" << 3;
        QTest::newRow("empty") << 2 << "" << 3;
        QTest::newRow("other number, Other already chosen") << 3 << "1234" << 3;
    }

    void loadSelectsTheOperator() {
        QFETCH(int, comboBefore);
        QFETCH(QString, number);
        QFETCH(int, operatorIndex);
        window = std::make_unique<MainWindow>();
        window->ui->smskp_combo->setCurrentIndex(comboBefore);
        QCOMPARE(window->ui->smskp->isEnabled(), comboBefore == 3);

        FormValues form = sampleForm(1);
        form.edits[0] = number;
        writeFile(QStringLiteral("case.sms"), bytesOf(linesOf(form)));
        window->settings.filePath = QStringLiteral("case.sms");
        window->loadSmsFile();

        QCOMPARE(window->ui->smskp_combo->currentIndex(), operatorIndex);
        QCOMPARE(window->ui->smskp->text(), number);
        QCOMPARE(window->ui->smskp->isEnabled(), operatorIndex == 3);
        QCOMPARE(formOf(*window), form);
    }

    void startUp_data() {
        QTest::addColumn<QString>("defaultFileKind"); // "none", "good", "bad", "folder", "terminal" or costly
        QTest::addColumn<bool>("reported");
        QTest::newRow("no default file") << "none" << false;
        QTest::newRow("well-formed default file") << "good" << false;
        QTest::newRow("default file of 150 lines") << "bad" << true;
        QTest::newRow("folder of that name") << "folder" << true;
        QTest::newRow("1 GB sparse default file") << "sparse" << true;
        QTest::newRow("FIFO of that name") << "fifo" << true;
        QTest::newRow("link to /dev/zero of that name") << "link to /dev/zero" << true;
        QTest::newRow("link to a terminal of that name") << "terminal" << true;
    }

    void startUp() {
        QFETCH(QString, defaultFileKind);
        QFETCH(bool, reported);
        FormValues form = sampleForm(1);
        form.edits[0] = QStringLiteral("36709996500");
        const QStringList lines = linesOf(form);
        WatchedTerminal terminal;
        QVERIFY(terminal.isValid());
        if (defaultFileKind == QLatin1String("terminal"))
            QVERIFY(terminal.linkAt(defaultFile));
        else if (defaultFileKind == QLatin1String("good"))
            writeFile(defaultFile, bytesOf(lines));
        else if (defaultFileKind == QLatin1String("bad"))
            writeFile(defaultFile, bytesOf(lines.mid(1)));
        else if (defaultFileKind == QLatin1String("folder"))
            QVERIFY(QDir().mkdir(defaultFile));
        else if (defaultFileKind != QLatin1String("none"))
            makeCostlyFile(defaultFileKind, defaultFile);
        const LateFifoEnd fifo(defaultFile);
        QVERIFY(fifo.isValid());

        QTest::failOnWarning(QRegularExpression(QStringLiteral("QIODevice")));
        Modal::MessageBoxCatcher catcher;
        QElapsedTimer clock;
        clock.start();
        window = std::make_unique<MainWindow>();
        QVERIFY2(clock.elapsed() < LateFifoEnd::lateMs, qPrintable(QStringLiteral("took %1 ms").arg(clock.elapsed())));
        QVERIFY(!fifo.opened());
        // The box was shown and closed inside the constructor, before the window was ever shown.
        QVERIFY(!window->isVisible());
        QVERIFY(!terminal.opened());
        QCOMPARE(catcher.texts, reported ? QStringList(syntaxText()) : QStringList());
        if (reported)
            QCOMPARE(catcher.titles, QStringList(fileErrorTitle()));

        const bool loaded = defaultFileKind == QLatin1String("good");
        QCOMPARE(formOf(*window), loaded ? form : FormValues::defaults());
        QCOMPARE(window->fileLabel->text(), loaded ? defaultFile : noFileText());
        QCOMPARE(window->settings.filePath, defaultFile);
        QCOMPARE(window->settings.fileName, defaultFile);
        QCOMPARE(window->ui->smskp_combo->currentIndex(), loaded ? 2 : 0);
        QVERIFY(!window->ui->smskp->isEnabled());
        QCOMPARE(window->portLabel->text(), QStringLiteral("COM1  Baud: 1200"));
        window->show();
        QVERIFY(QTest::qWaitForWindowExposed(window.get()));
    }
};

QTEST_MAIN(TestMainWindowFile)
#include "tst_mainwindowfile.moc"
