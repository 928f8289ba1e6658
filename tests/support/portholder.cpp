#include "portholder.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <fcntl.h>
#include <poll.h>
#include <sys/wait.h>
#include <unistd.h>

const char *PortHolder::modeName(Mode mode) {
    switch (mode) {
    case Mode::Qt:
        return "qt";
    case Mode::Minicom:
        return "minicom";
    case Mode::Cu:
        return "cu";
    case Mode::Flock:
        return "flock";
    case Mode::Exclusive:
        return "exclusive";
    }
    return "";
}

QString PortHolder::lockFilePathFor(const QString &path, Mode mode, const QString &folder) {
    QString name = QFileInfo(path).fileName();
    const bool belowDev = path.startsWith(QLatin1String("/dev/"));
    switch (mode) {
    case Mode::Minicom:
        if (belowDev)
            name = path.mid(5).replace(QLatin1Char('/'), QLatin1Char('_'));
        break;
    case Mode::Qt:
        name = (belowDev ? path.mid(5) : QString(path)).replace(QLatin1Char('/'), QLatin1Char('_'));
        break;
    case Mode::Cu:
        break;
    case Mode::Flock:
    case Mode::Exclusive:
        return QString();
    }
    return QDir(folder).filePath(QStringLiteral("LCK..") + name);
}

bool PortHolder::start(const QString &path, Mode mode, const QString &lockFolder) {
    finish();
    lockFile = lockFilePathFor(path, mode, lockFolder);

    int toChild[2];
    int fromChild[2];
    if (::pipe2(toChild, O_CLOEXEC) != 0)
        return false;
    if (::pipe2(fromChild, O_CLOEXEC) != 0) {
        ::close(toChild[0]);
        ::close(toChild[1]);
        return false;
    }
    const QByteArray program(PORT_HOLDER_PROGRAM);
    const QByteArray modeArgument(modeName(mode));
    const QByteArray device = QFile::encodeName(path);
    const QByteArray lockPath = QFile::encodeName(lockFile);
    char *const arguments[] = {const_cast<char *>(program.constData()), const_cast<char *>(modeArgument.constData()),
                               const_cast<char *>(device.constData()), const_cast<char *>(lockPath.constData()),
                               nullptr};

    pid = ::fork();
    if (pid == 0) {
        ::dup2(toChild[0], STDIN_FILENO);
        ::dup2(fromChild[1], STDOUT_FILENO);
        ::execv(program.constData(), arguments);
        ::_exit(127);
    }
    ::close(toChild[0]);
    ::close(fromChild[1]);
    input = toChild[1];
    output = fromChild[0];
    if (pid < 0)
        return false;
    // The holder says "held" once it has the device, "busy" when it is taken.
    pollfd ready{output, POLLIN, 0};
    char answer[5] = {};
    return ::poll(&ready, 1, 10000) == 1 && ::read(output, answer, 4) == 4 && QByteArray(answer) == "held";
}

int PortHolder::finish() {
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

pid_t PortHolder::endedProcess() {
    const pid_t child = ::fork();
    if (child == 0)
        ::_exit(0);
    ::waitpid(child, nullptr, 0);
    return child;
}
