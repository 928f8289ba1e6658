#include "modulehost.h"

#include "support/simulatedmodule.h"

#include <QList>

#include <sys/socket.h>
#include <sys/wait.h>
#include <unistd.h>

#include <memory>

namespace {

// One line without its '\n'; empty when the other side has gone.
QByteArray readLine(int fd) {
    QByteArray line;
    char c = 0;
    while (::read(fd, &c, 1) == 1) {
        if (c == '\n')
            return line;
        line.append(c);
    }
    return QByteArray();
}

bool writeLine(int fd, const QByteArray &line) {
    const QByteArray data = line + '\n';
    qsizetype done = 0;
    while (done < data.size()) {
        const ssize_t written = ::write(fd, data.constData() + done, size_t(data.size() - done));
        if (written <= 0)
            return false;
        done += written;
    }
    return true;
}

// The child: "open", "command <hex byte> <hex reply>", "count <hex byte> <n> <hex reply>",
// "close", each answered by one line.
[[noreturn]] void serve(int fd) {
    std::unique_ptr<SimulatedModule> module;
    for (;;) {
        const QByteArray line = readLine(fd);
        if (line.isEmpty())
            ::_exit(0);
        const QList<QByteArray> words = line.split(' ');
        const QByteArray &verb = words.first();
        QByteArray answer = "error";
        if (verb == "open") {
            module.reset();
            module = std::make_unique<SimulatedModule>();
            if (module->isValid()) {
                module->receiveAtLineSpeed(true);
                answer = "ok " + module->portDirectory().toUtf8().toHex();
            }
        } else if (verb == "command" && module && words.size() == 3) {
            module->onCommand(QByteArray::fromHex(words[1]).at(0), {QByteArray::fromHex(words[2]), true});
            answer = "ok";
        } else if (verb == "count" && module && words.size() == 4) {
            module->onByteCount(QByteArray::fromHex(words[1]).at(0), words[2].toInt(),
                                {QByteArray::fromHex(words[3]), true});
            answer = "ok";
        } else if (verb == "close" && module) {
            // The bytes, then each one's arrival on the steady clock, which both processes share.
            answer = "ok " + module->received().toHex();
            for (const auto time : module->arrivalTimes())
                answer += ' ' + QByteArray::number(qint64(time.time_since_epoch().count()));
            module.reset();
        }
        if (!writeLine(fd, answer))
            ::_exit(1);
    }
}

} // namespace

bool ModuleHost::start() {
    int fds[2];
    if (::socketpair(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0, fds) != 0)
        return false;
    pid = ::fork();
    if (pid < 0)
        return false;
    if (pid == 0) {
        ::close(fds[0]);
        serve(fds[1]);
    }
    ::close(fds[1]);
    socket = fds[0];
    return true;
}

ModuleHost::~ModuleHost() {
    if (socket >= 0)
        ::close(socket);
    if (pid > 0)
        ::waitpid(pid, nullptr, 0);
}

QString ModuleHost::openModule() {
    const QByteArray answer = request("open");
    if (!answer.startsWith("ok "))
        return QString();
    return QString::fromUtf8(QByteArray::fromHex(answer.mid(3)));
}

bool ModuleHost::onCommand(char command, const QByteArray &reply) {
    return request("command " + QByteArray(1, command).toHex() + ' ' + reply.toHex()) == "ok";
}

bool ModuleHost::onByteCount(char byte, int count, const QByteArray &reply) {
    return request("count " + QByteArray(1, byte).toHex() + ' ' + QByteArray::number(count) + ' ' + reply.toHex()) ==
           "ok";
}

ModuleHost::Received ModuleHost::closeModule() {
    const QByteArray answer = request("close");
    Received received;
    if (!answer.startsWith("ok"))
        return received;
    const QList<QByteArray> words = answer.mid(3).split(' ');
    received.bytes = QByteArray::fromHex(words.first());
    for (qsizetype i = 1; i < words.size(); ++i)
        received.arrivalTimes.emplace_back(std::chrono::steady_clock::duration(words.at(i).toLongLong()));
    return received;
}

QByteArray ModuleHost::request(const QByteArray &line) {
    if (socket < 0 || !writeLine(socket, line))
        return QByteArray();
    return readLine(socket);
}
