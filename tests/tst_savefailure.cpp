#include "configfile/savefile.h"
#include "configfile/smsfile.h"
#include "mainwindow/formlists.h"
#include "mainwindow/mainwindow.h"
#include "mainwindow/ui_mainwindow.h"
#include "support/buildtexts.h"
#include "support/filedialog.h"
#include "support/latefifo.h"
#include "support/modal.h"
#include "support/sampleforms.h"
#include "support/watchedterminal.h"

#include <QDir>
#include <QElapsedTimer>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QProcess>
#include <QScopeGuard>
#include <QTemporaryDir>
#include <QTemporaryFile>
#include <QTest>

#include <csignal>
#include <functional>
#include <memory>
#include <optional>

#include <fcntl.h>
#include <grp.h>
#include <sched.h>
#include <sys/mount.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/sysmacros.h>
#include <sys/wait.h>
#include <sys/xattr.h>
#include <unistd.h>

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

// Ids that no account uses: the owner and group of another user's file.
constexpr uid_t otherUser = 61001;
constexpr gid_t otherGroup = 61002;

// The technician who saves: a user other than root, with a group of their own and maybe a team's
// group besides. The suite run by root takes ids that no account uses, in a child process; a suite
// run by a user is that user, with one of their other groups as the team's (team == group: none).
struct Technician {
    uid_t uid;
    gid_t group;
    gid_t team;
};

Technician technician() {
    if (geteuid() == 0)
        return {61003, 61003, 61004};
    Technician self{geteuid(), getegid(), getegid()};
    gid_t groups[64];
    const int count = getgroups(64, groups);
    for (int index = 0; index < count; ++index) {
        if (groups[index] != self.group)
            self.team = groups[index];
    }
    return self;
}

QByteArray nameOf(const QString &path) {
    return QFile::encodeName(path);
}

struct stat statOf(const QString &path) {
    struct stat status {};
    if (::stat(nameOf(path).constData(), &status) != 0)
        qWarning("cannot stat %s", nameOf(path).constData());
    return status;
}

// The names of a file's extended attributes, each ended by a NUL.
QByteArray attributeNamesOf(const QString &path) {
    char names[1024];
    const ssize_t size = ::listxattr(nameOf(path).constData(), names, sizeof names);
    return size > 0 ? QByteArray(names, size) : QByteArray();
}

// Whether the file system under folder reserves room itself (fallocate): ext2, for one, does not.
bool reservesRoom(const QString &folder) {
    QTemporaryFile probe(folder + QStringLiteral("/probe-XXXXXX"));
    return probe.open() && ::fallocate(probe.handle(), 0, 0, 1) == 0;
}

QStringList entriesOf(const QString &folder) {
    return QDir(folder).entryList(QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot, QDir::Name);
}

// Saves in a child process: after prepare (run first, by the suite's user), as the technician when
// asked (by root, dropping to that user), and with every file the child writes limited to limit
// bytes. 0 when saved, 1 when not, 2 when the child could not be set up.
int saveInChild(const QString &path, const QStringList &lines, bool asTechnician, rlim_t limit = RLIM_INFINITY,
                const std::function<bool()> &prepare = {}) {
    const pid_t child = fork();
    if (child == 0) {
        if (prepare && !prepare())
            _exit(2);
        const Technician user = technician();
        const gid_t groups[] = {user.team};
        if (asTechnician && geteuid() == 0 &&
            (setgroups(1, groups) != 0 || setresgid(user.group, user.group, user.group) != 0 ||
             setresuid(user.uid, user.uid, user.uid) != 0))
            _exit(2);
        std::optional<FileSizeLimit> sizeLimit;
        if (limit != RLIM_INFINITY && !sizeLimit.emplace(limit).setOk)
            _exit(2);
        _exit(SaveFile::writeSmsFile(path, lines) ? 0 : 1);
    }
    int status = 0;
    if (child < 0 || waitpid(child, &status, 0) != child || !WIFEXITED(status))
        return -1;
    return WEXITSTATUS(status);
}

} // namespace

// A save whose write fails partway, for real (the process may write files of a few bytes only), and
// saves over what a replacement would change.
class TestSaveFailure : public QObject {
    Q_OBJECT

    std::unique_ptr<QTemporaryDir> workDir;

private slots:
    void initTestCase() {
        std::signal(SIGXFSZ, SIG_IGN);
        std::signal(SIGPIPE, SIG_IGN);
    }

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

    void saveKeepsWhatTheFileIs_data() {
        QTest::addColumn<QString>("kind");
        QTest::addColumn<bool>("byTechnician"); // saved by a user other than root, in a child process
        QTest::addColumn<bool>("saved");
        QTest::addColumn<bool>("inPlace"); // the file keeps its inode: written in place, or not touched
        QTest::newRow("FIFO") << "fifo" << false << false << true;
        QTest::newRow("link to a FIFO") << "link to a fifo" << false << false << true;
        QTest::newRow("character device") << "char device" << false << false << true;
        QTest::newRow("link to a terminal") << "link to a terminal" << false << false << true;
        QTest::newRow("hard-linked file") << "hard link" << false << true << true;
        QTest::newRow("hard-linked file, shorter text") << "hard link, shorter text" << false << true << true;
        QTest::newRow("hard-linked file that may not grow") << "hard link, no room" << false << false << true;
        QTest::newRow("another user's file saved by root") << "other owner" << false << true << false;
        QTest::newRow("team's file saved by a member") << "team file" << true << true << true;
        QTest::newRow("team's hard-linked file that may not grow, saved by a member")
            << "team file, hard link, no room" << true << false << true;
        QTest::newRow("own file of the primary group") << "own file" << true << true << false;
        QTest::newRow("own file of a supplementary group") << "own team file" << true << true << false;
        QTest::newRow("own read-only file") << "own read-only file" << true << false << true;
        QTest::newRow("own set-id file") << "own set-id file" << true << true << false;
        QTest::newRow("own file in a read-only folder") << "read-only folder" << true << true << true;
        QTest::newRow("own write-only file") << "write-only file" << true << true << false;
        QTest::newRow("own write-only file in a read-only folder")
            << "write-only file in a read-only folder" << true << true << true;
        QTest::newRow("link to own file in a read-only folder")
            << "link into a read-only folder" << true << true << true;
        QTest::newRow("new file") << "new file" << true << true << false;
        QTest::newRow("link to a file") << "link to a file" << false << true << false;
        QTest::newRow("file with an extended attribute") << "extended attribute" << false << true << true;
        QTest::newRow("read-only file saved by root") << "read-only file" << false << true << false;
    }

    // Saved over, the file stays what it was: its type, owner, group and permissions, its extended
    // attributes, its other names and its links; what cannot be replaced without changing it is
    // written in place, and what is not a regular file is refused without being opened. A new file
    // is the saver's.
    void saveKeepsWhatTheFileIs() {
        QFETCH(QString, kind);
        QFETCH(bool, byTechnician);
        QFETCH(bool, saved);
        QFETCH(bool, inPlace);
        const Technician user = technician();
        if (geteuid() != 0 && (QStringList{"char device", "other owner", "read-only file"}.contains(kind) ||
                               kind.startsWith(QLatin1String("team file"))))
            QSKIP("Needs root, to make device nodes, give files away or save over a read-only file");
        if (kind == QLatin1String("own team file") && user.team == user.group)
            QSKIP("The suite's user is in no group but their own");
        // Written in place, a file that may only be written gets its room from the file system or
        // is refused, as it was.
        if (kind == QLatin1String("write-only file in a read-only folder") && !reservesRoom(workDir->path()))
            saved = false;

        const QByteArray old = bytesOf(SampleForms::filled());
        FormValues form = SampleForms::filled();
        // A text shorter than the old one must leave nothing of its tail.
        const bool shorter = kind.endsWith(QLatin1String("shorter text"));
        form.edits[3] = shorter ? QString() : QStringLiteral("Changed gate"); // m_nev
        const QByteArray changed = bytesOf(form);
        // A file that may not grow past its old size cannot take the new text.
        const bool noRoom = kind.endsWith(QLatin1String("no room"));
        QVERIFY(shorter ? changed.size() < old.size() : changed.size() > old.size());

        // The suite's user saves in the working folder through the window; the technician, in a
        // child process, in a folder of their own that they reach through the working folder.
        QCOMPARE(::chmod(nameOf(workDir->path()).constData(), 0711), 0);
        const QString folder = byTechnician ? workDir->filePath(QStringLiteral("team")) : workDir->path();
        const QString lockedFolder = folder + QStringLiteral("/locked");
        const auto makeTechniciansFolder = [&](const QString &name) {
            QVERIFY(QDir().mkdir(name));
            QCOMPARE(::chown(nameOf(name).constData(), user.uid, user.group), 0);
        };
        if (byTechnician)
            makeTechniciansFolder(folder);
        // A user cannot empty a folder that they may not write: the working folder's removal needs it.
        const auto writableAgain = qScopeGuard([&] {
            for (const QString &name : {folder, lockedFolder})
                ::chmod(nameOf(name).constData(), 0755);
        });
        const QString path = folder + QStringLiteral("/case.sms");
        QString written = path; // the file that takes the lines: a link's target
        QString otherName;
        const auto putOld = [&](const QString &name, uid_t owner, gid_t group, mode_t mode) {
            QFile file(name);
            QVERIFY(file.open(QIODevice::WriteOnly));
            QCOMPARE(file.write(old), old.size());
            file.close();
            QCOMPARE(::chown(nameOf(name).constData(), owner, group), 0);
            QCOMPARE(::chmod(nameOf(name).constData(), mode), 0);
            // An old time, so that a refused save that touches it shows.
            const struct timespec times[] = {{0, UTIME_OMIT}, {1000000000, 0}};
            QCOMPARE(::utimensat(AT_FDCWD, nameOf(name).constData(), times, 0), 0);
        };
        WatchedTerminal terminal;
        QVERIFY(terminal.isValid());
        if (kind == QLatin1String("fifo")) {
            QCOMPARE(mkfifo(nameOf(path).constData(), 0600), 0);
        } else if (kind == QLatin1String("link to a fifo")) {
            written = folder + QStringLiteral("/fifo");
            QCOMPARE(mkfifo(nameOf(written).constData(), 0600), 0);
            QVERIFY(QFile::link(QStringLiteral("fifo"), path));
        } else if (kind == QLatin1String("link to a terminal")) {
            QVERIFY(terminal.linkAt(path));
            written = QFileInfo(path).symLinkTarget();
        } else if (kind == QLatin1String("char device")) {
            // The numbers of the device that refuses every write for want of space.
            if (::mknod(nameOf(path).constData(), S_IFCHR | 0666, makedev(1, 7)) != 0)
                QSKIP("Device nodes cannot be made here");
        } else if (kind.startsWith(QLatin1String("hard link"))) {
            putOld(path, geteuid(), getegid(), 0644);
        } else if (kind == QLatin1String("other owner")) {
            putOld(path, otherUser, otherGroup, 0644);
        } else if (kind.startsWith(QLatin1String("team file"))) {
            putOld(path, 0, user.team, 0660);
        } else if (kind == QLatin1String("own file")) {
            putOld(path, user.uid, user.group, 0640);
        } else if (kind == QLatin1String("own read-only file")) {
            putOld(path, user.uid, user.group, 0444);
        } else if (kind == QLatin1String("own set-id file")) {
            putOld(path, user.uid, user.group, 06750);
        } else if (kind == QLatin1String("own team file")) {
            putOld(path, user.uid, user.team, 0640);
        } else if (kind == QLatin1String("read-only folder") || kind.startsWith(QLatin1String("write-only file"))) {
            putOld(path, user.uid, user.group, kind.startsWith(QLatin1String("write-only")) ? 0200 : 0644);
            if (kind.endsWith(QLatin1String("read-only folder")))
                QCOMPARE(::chmod(nameOf(folder).constData(), 0555), 0);
        } else if (kind == QLatin1String("link into a read-only folder")) {
            makeTechniciansFolder(lockedFolder);
            written = lockedFolder + QStringLiteral("/target.sms");
            putOld(written, user.uid, user.group, 0644);
            QVERIFY(QFile::link(QStringLiteral("locked/target.sms"), path));
            QCOMPARE(::chmod(nameOf(lockedFolder).constData(), 0555), 0);
        } else if (kind == QLatin1String("extended attribute")) {
            putOld(path, geteuid(), getegid(), 0644);
            if (::setxattr(nameOf(path).constData(), "user.note", "kept", 4, 0) != 0)
                QSKIP("The file system keeps no extended attributes of users");
        } else if (kind == QLatin1String("read-only file")) {
            putOld(path, geteuid(), getegid(), 0444);
        } else if (kind == QLatin1String("link to a file")) {
            written = folder + QStringLiteral("/target.sms");
            putOld(written, geteuid(), getegid(), 0644);
            QVERIFY(QFile::link(QStringLiteral("target.sms"), path));
        } else if (kind != QLatin1String("new file")) {
            QFAIL("unknown kind of file");
        }
        if (kind.contains(QLatin1String("hard link"))) {
            otherName = folder + QStringLiteral("/other.sms");
            QCOMPARE(::link(nameOf(path).constData(), nameOf(otherName).constData()), 0);
        }
        const bool isNew = kind == QLatin1String("new file");
        struct stat before {};
        if (!isNew)
            before = statOf(written);
        // Other tests make terminals too: what a save could leave is looked for beside the link.
        const QString writtenFolder = QFileInfo(S_ISCHR(before.st_mode) ? path : written).absolutePath();
        const QByteArray attributes = isNew ? QByteArray() : attributeNamesOf(written);
        QStringList entries = entriesOf(writtenFolder);
        if (isNew) {
            entries << QStringLiteral("case.sms");
            entries.sort();
        }
        const LateFifoEnd fifo(written);
        QVERIFY(fifo.isValid());

        QElapsedTimer clock;
        clock.start();
        if (byTechnician || noRoom) {
            QCOMPARE(
                saveInChild(path, SmsFile::toLines(form), byTechnician, noRoom ? rlim_t(old.size()) : RLIM_INFINITY),
                saved ? 0 : 1);
        } else {
            MainWindow window;
            writeForm(formLists(window.ui->centralWidget), form);
            answerFileDialog(QFileInfo(path).fileName(), Modal::Answer::Force);
            Modal::MessageBoxCatcher catcher;
            window.save();
            QCOMPARE(catcher.texts,
                     saved ? QStringList(byBuild("Success.", "Sikeres mentés."))
                           : QStringList(byBuild("Cannot save the file.", "Nem sikerült menteni a fájlt.")));
        }
        // Nothing waited for: a FIFO's other end comes only then.
        const qint64 elapsed = clock.elapsed();
        QVERIFY2(elapsed < LateFifoEnd::lateMs, qPrintable(QStringLiteral("took %1 ms").arg(elapsed)));
        QVERIFY(!fifo.opened());

        const struct stat after = statOf(written);
        if (isNew) {
            QCOMPARE(after.st_uid, user.uid);
            QCOMPARE(after.st_gid, user.group);
        } else {
            QCOMPARE(after.st_mode, before.st_mode); // the type and the permissions
            QCOMPARE(after.st_uid, before.st_uid);
            QCOMPARE(after.st_gid, before.st_gid);
            QCOMPARE(after.st_ino == before.st_ino, inPlace);
            QCOMPARE(attributeNamesOf(written), attributes);
            if (!saved) { // refused: its time too
                QCOMPARE(after.st_mtim.tv_sec, before.st_mtim.tv_sec);
                QCOMPARE(after.st_mtim.tv_nsec, before.st_mtim.tv_nsec);
            }
        }
        QVERIFY(!terminal.opened());
        if (S_ISREG(after.st_mode) && !(after.st_mode & S_IRUSR)) // a write-only file, read by its owner
            QCOMPARE(::chmod(nameOf(written).constData(), after.st_mode | S_IRUSR), 0);
        if (S_ISREG(after.st_mode))
            QCOMPARE(readFile(written), saved ? changed : old);
        if (!otherName.isEmpty())
            QCOMPARE(readFile(otherName), saved ? changed : old);
        QCOMPARE(QFileInfo(path).isSymLink(), written != path);
        QCOMPARE(entriesOf(writtenFolder), entries); // nothing left beside it
    }

    // On an overlay, a file of the lower layer opened for writing is first copied up to a new file of
    // the upper one: a hard-linked one is saved at the first try all the same.
    void saveOverALowerLayersHardLinkedFile() {
        if (geteuid() != 0)
            QSKIP("Needs root, to mount an overlay");
        for (const char *name : {"lower", "upper", "work", "merged"})
            QVERIFY(QDir().mkdir(QString::fromLatin1(name)));
        const QByteArray old = bytesOf(SampleForms::filled());
        {
            QFile file(QStringLiteral("lower/case.sms"));
            QVERIFY(file.open(QIODevice::WriteOnly));
            QCOMPARE(file.write(old), old.size());
        }
        QCOMPARE(::link("lower/case.sms", "lower/other.sms"), 0);
        FormValues form = SampleForms::filled();
        form.edits[3] = QStringLiteral("Changed gate"); // m_nev

        // Mounted in the child's own mount namespace, which goes with it.
        const QByteArray options = "lowerdir=" + nameOf(workDir->filePath(QStringLiteral("lower"))) +
                                   ",upperdir=" + nameOf(workDir->filePath(QStringLiteral("upper"))) +
                                   ",workdir=" + nameOf(workDir->filePath(QStringLiteral("work")));
        const QByteArray merged = nameOf(workDir->filePath(QStringLiteral("merged")));
        const int result =
            saveInChild(QStringLiteral("merged/case.sms"), SmsFile::toLines(form), false, RLIM_INFINITY, [&] {
                return ::unshare(CLONE_NEWNS) == 0 &&
                       ::mount(nullptr, "/", nullptr, MS_REC | MS_PRIVATE, nullptr) == 0 &&
                       ::mount("overlay", merged.constData(), "overlay", 0, options.constData()) == 0;
            });
        if (result == 2)
            QSKIP("An overlay cannot be mounted here");
        QCOMPARE(result, 0);
        QCOMPARE(readFile(QStringLiteral("upper/case.sms")), bytesOf(form));
        QCOMPARE(readFile(QStringLiteral("lower/case.sms")), old);
    }

    // The program itself ignores SIGXFSZ, so that a save past the file-size limit fails as any other
    // instead of ending it with the form's edits. This process's own ignoring is not passed on.
    void programIgnoresTheFileSizeSignal() {
        QProcess program;
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        environment.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
        program.setProcessEnvironment(environment);
        program.setChildProcessModifier([] { std::signal(SIGXFSZ, SIG_DFL); });
        program.start(QStringLiteral(DOWNLOADER_PROGRAM), QStringList());
        const auto stop = qScopeGuard([&] {
            program.kill();
            program.waitForFinished();
        });
        QVERIFY(program.waitForStarted());
        // The signals it ignores, from /proc: "SigIgn:\t<hex mask>", bit n-1 for signal n.
        const auto ignoresIt = [pid = program.processId()] {
            QFile status(QStringLiteral("/proc/%1/status").arg(pid));
            if (!status.open(QIODevice::ReadOnly))
                return false;
            const QByteArray text = status.readAll();
            const qsizetype start = text.indexOf("SigIgn:") + 7;
            const quint64 mask = text.mid(start, text.indexOf('\n', start) - start).trimmed().toULongLong(nullptr, 16);
            return start >= 7 && (mask & (quint64(1) << (SIGXFSZ - 1))) != 0;
        };
        QTRY_VERIFY_WITH_TIMEOUT(ignoresIt(), 10000);
    }
};

QTEST_MAIN(TestSaveFailure)
#include "tst_savefailure.moc"
