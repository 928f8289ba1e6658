#include "configfile/smsfile.h"
#include "mainwindow/formlists.h"
#include "mainwindow/mainwindow.h"
#include "mainwindow/ui_mainwindow.h"
#include "support/buildtexts.h"
#include "support/filedialog.h"
#include "support/modal.h"
#include "support/sampleforms.h"

#include <QDir>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QTemporaryDir>
#include <QTest>

#include <csignal>
#include <memory>

#include <sys/resource.h>

namespace {

using BuildTexts::byBuild;

QByteArray bytesOf(const FormValues &form) {
    QByteArray bytes;
    for (const QString &line : SmsFile::toLines(form))
        bytes += line.toLocal8Bit() + "\r\n";
    return bytes;
}

QByteArray readFile(const QString &name) {
    QFile file(name);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("<unreadable>");
}

// Limits the size of every file the process writes, as a full disk does, until destroyed. SIGXFSZ
// is ignored, so a write past the limit fails with EFBIG instead of ending the process.
class FileSizeLimit {
public:
    explicit FileSizeLimit(rlim_t bytes) {
        getrlimit(RLIMIT_FSIZE, &saved);
        rlimit limited = saved;
        limited.rlim_cur = bytes;
        setOk = setrlimit(RLIMIT_FSIZE, &limited) == 0;
    }
    ~FileSizeLimit() { setrlimit(RLIMIT_FSIZE, &saved); }
    FileSizeLimit(const FileSizeLimit &) = delete;
    FileSizeLimit &operator=(const FileSizeLimit &) = delete;

    bool setOk = false;

private:
    rlimit saved{};
};

} // namespace

// A save whose write fails partway, for real: the process may write files of a few bytes only.
class TestSaveFailure : public QObject {
    Q_OBJECT

    std::unique_ptr<QTemporaryDir> workDir;

private slots:
    void initTestCase() { std::signal(SIGXFSZ, SIG_IGN); }

    void init() {
        workDir = std::make_unique<QTemporaryDir>();
        QVERIFY(workDir->isValid());
        QVERIFY(QDir::setCurrent(workDir->path()));
    }

    void cleanup() {
        QDir::setCurrent(QDir::tempPath());
        workDir.reset();
    }

    void failedWriteKeepsTheOldFile_data() {
        QTest::addColumn<int>("limit"); // bytes; a negative limit counts back from the new file's size
        QTest::newRow("nothing written") << 0;
        QTest::newRow("partway") << 100;
        QTest::newRow("all but the last byte") << -1;
    }

    void failedWriteKeepsTheOldFile() {
        QFETCH(int, limit);
        const QByteArray old = bytesOf(SampleForms::filled());
        {
            QFile file(QStringLiteral("old.sms"));
            QVERIFY(file.open(QIODevice::WriteOnly));
            QCOMPARE(file.write(old), old.size());
        }
        MainWindow window;
        window.settings.filePath = QStringLiteral("old.sms");
        window.loadSmsFile();
        QCOMPARE(window.fileLabel->text(), QStringLiteral("old.sms"));
        window.ui->m_nev->setText(QStringLiteral("Changed gate"));
        window.ui->be1_nev->setText(QStringLiteral("Changed input"));
        const QByteArray changed = bytesOf(readForm(formLists(window.ui->centralWidget)));
        QVERIFY(changed != old);

        // Saved over the old file; the dialog's question whether to replace it is not the point.
        answerFileDialog(QStringLiteral("old.sms"), Modal::Answer::Force);
        {
            Modal::MessageBoxCatcher catcher;
            const FileSizeLimit fileSizeLimit(limit < 0 ? changed.size() + limit : limit);
            QVERIFY(fileSizeLimit.setOk);
            window.save();
            QCOMPARE(catcher.titles, QStringList(byBuild("File error", "File hiba")));
            QCOMPARE(catcher.texts, QStringList(byBuild("Cannot save the file.", "Nem sikerült menteni a fájlt.")));
            QCOMPARE(catcher.icons, QList<int>{QMessageBox::Critical});
        }
        QCOMPARE(readFile(QStringLiteral("old.sms")), old);
        QCOMPARE(QDir().entryList(QDir::Files | QDir::Hidden), QStringList(QStringLiteral("old.sms")));
        QCOMPARE(window.settings.filePath, QStringLiteral("old.sms"));
        QCOMPARE(window.settings.fileName, QStringLiteral("old.sms"));
        QCOMPARE(window.fileLabel->text(), QStringLiteral("old.sms"));

        // Without the limit the same save goes through.
        answerFileDialog(QStringLiteral("old.sms"), Modal::Answer::Force);
        Modal::MessageBoxCatcher catcher;
        window.save();
        QCOMPARE(catcher.texts, QStringList(byBuild("Success.", "Sikeres mentés.")));
        QCOMPARE(readFile(QStringLiteral("old.sms")), changed);
    }
};

QTEST_MAIN(TestSaveFailure)
#include "tst_savefailure.moc"
