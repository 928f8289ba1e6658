#include "simulatedmodule.h"

#include <QDir>
#include <QFile>

#include <fcntl.h>
#include <poll.h>
#include <pty.h>
#include <sys/ioctl.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

SimulatedModule::SimulatedModule(const QString &portName, const QString &directory) : name(portName) {
    if (directory.isEmpty()) {
        ownDirectory.emplace();
        if (!ownDirectory->isValid())
            return;
        directoryPath = ownDirectory->path();
    } else {
        directoryPath = directory;
    }
    linkPath = QDir(directoryPath).filePath(portName);

    char slaveName[128] = {};
    if (::openpty(&masterFd, &slaveFd, slaveName, nullptr, nullptr) != 0)
        return;
    // A raw line, as a module's UART would be: no echo, no line discipline.
    termios settings{};
    ::tcgetattr(slaveFd, &settings);
    ::cfmakeraw(&settings);
    ::tcsetattr(slaveFd, TCSANOW, &settings);
    ::fcntl(masterFd, F_SETFL, ::fcntl(masterFd, F_GETFL) | O_NONBLOCK);
    ::fcntl(masterFd, F_SETFD, FD_CLOEXEC);
    ::fcntl(slaveFd, F_SETFD, FD_CLOEXEC);
    if (::pipe2(wakeFds, O_NONBLOCK | O_CLOEXEC) != 0)
        return;
    QFile::remove(linkPath);
    if (::symlink(slaveName, QFile::encodeName(linkPath).constData()) != 0)
        return;
    deviceName = QFile::decodeName(slaveName);
    valid = true;
    thread = std::thread([this] { serve(); });
}

SimulatedModule::~SimulatedModule() {
    stopping = true;
    if (thread.joinable()) {
        wake();
        thread.join();
    }
    std::lock_guard lock(mutex);
    if (!vanished)
        vanish();
    for (int fd : wakeFds) {
        if (fd >= 0)
            ::close(fd);
    }
}

void SimulatedModule::onCommand(char command, const Reply &reply) {
    std::lock_guard lock(mutex);
    commandReplies[command] = reply;
}

void SimulatedModule::onByteCount(char byte, int count, const Reply &reply) {
    std::lock_guard lock(mutex);
    countReplies[{byte, count}] = reply;
}

void SimulatedModule::vanishAfterReceiving(int byteCount) {
    std::lock_guard lock(mutex);
    vanishAt = byteCount;
}

void SimulatedModule::receiveAtLineSpeed(bool paced) {
    std::lock_guard lock(mutex);
    pacedReceive = paced;
}

void SimulatedModule::send(const QByteArray &bytes, bool paced) {
    {
        std::lock_guard lock(mutex);
        schedule(Reply{bytes, paced, 0, false});
    }
    wake();
}

QByteArray SimulatedModule::received() const {
    std::lock_guard lock(mutex);
    return receivedBytes;
}

int SimulatedModule::bytesTaken() const {
    std::lock_guard lock(mutex);
    return int(receivedBytes.size() + incoming.size());
}

std::vector<SimulatedModule::Clock::time_point> SimulatedModule::arrivalTimes() const {
    std::lock_guard lock(mutex);
    return receivedTimes;
}

int SimulatedModule::receivedCount(char byte) const {
    std::lock_guard lock(mutex);
    return int(receivedBytes.count(byte));
}

bool SimulatedModule::waitForReceived(int byteCount, int timeoutMs) const {
    std::unique_lock lock(mutex);
    return receivedChanged.wait_for(lock, std::chrono::milliseconds(timeoutMs),
                                    [&] { return receivedBytes.size() >= byteCount; });
}

bool SimulatedModule::waitForByteCount(char byte, int count, int timeoutMs) const {
    std::unique_lock lock(mutex);
    return receivedChanged.wait_for(lock, std::chrono::milliseconds(timeoutMs),
                                    [&] { return receivedBytes.count(byte) >= count; });
}

bool SimulatedModule::hasVanished() const {
    std::lock_guard lock(mutex);
    return vanished;
}

termios SimulatedModule::lineSettings() const {
    std::lock_guard lock(mutex);
    termios settings{};
    if (slaveFd >= 0)
        ::tcgetattr(slaveFd, &settings);
    return settings;
}

std::optional<termios> SimulatedModule::lineSettingsAtFirstByte() const {
    std::lock_guard lock(mutex);
    return firstByteSettings;
}

void SimulatedModule::serve() {
    bool waitForRoom = false;
    while (!stopping) {
        int timeoutMs = -1;
        {
            std::lock_guard lock(mutex);
            if (vanished)
                break;
            if (vanishWhenDrained) {
                if (drained() || Clock::now() >= *vanishWhenDrained) {
                    vanish();
                    break;
                }
                timeoutMs = 2;
            } else {
                timeoutMs = millisecondsToNextDue(waitForRoom);
            }
        }
        pollfd fds[2] = {{masterFd, short(POLLIN | (waitForRoom ? POLLOUT : 0)), 0}, {wakeFds[0], POLLIN, 0}};
        if (::poll(fds, 2, timeoutMs) < 0 && errno != EINTR)
            break;
        if (fds[1].revents & POLLIN) {
            char drain[64];
            while (::read(wakeFds[0], drain, sizeof drain) > 0) {
            }
        }
        if (fds[0].revents & POLLOUT)
            waitForRoom = false;
        if (fds[0].revents & POLLIN) {
            // Read under the lock, so that a byte is either still on the terminal or taken.
            std::lock_guard lock(mutex);
            char buffer[256];
            const ssize_t count = ::read(masterFd, buffer, sizeof buffer);
            take(buffer, count);
        }

        std::lock_guard lock(mutex);
        deliverDueIncoming();
        while (!vanished && !pending.empty() && pending.front().due <= Clock::now()) {
            const PendingByte next = pending.front();
            const ssize_t written = ::write(masterFd, &next.byte, 1);
            if (written != 1) {
                waitForRoom = written < 0 && errno == EAGAIN;
                break;
            }
            pending.pop_front();
            lastWrite = Clock::now();
            if (next.vanishAfter) {
                // Bytes still in the terminal would be lost with it; a real line delivers them.
                vanishWhenDrained = Clock::now() + std::chrono::milliseconds(500);
                pending.clear();
                break;
            }
        }
    }
}

// Called with the mutex held.
int SimulatedModule::millisecondsToNextDue(bool waitForRoom) const {
    std::optional<Clock::time_point> next;
    if (!pending.empty() && !waitForRoom)
        next = pending.front().due;
    if (!incoming.empty() && (!next || incoming.front().due < *next))
        next = incoming.front().due;
    if (!next)
        return -1;
    const auto untilDue = std::chrono::ceil<std::chrono::milliseconds>(*next - Clock::now());
    return int(std::max<long long>(0, untilDue.count()));
}

// Bytes just read from the program. Called with the mutex held.
void SimulatedModule::take(const char *bytes, qsizetype count) {
    const Clock::time_point now = Clock::now();
    for (qsizetype i = 0; i < count && !vanished; ++i) {
        if (!pacedReceive) {
            receive(bytes[i]);
            continue;
        }
        // A byte reaches the module when its ten bit times on the line are over.
        lastIncomingDue = std::max(now, lastIncomingDue) + byteTime;
        incoming.push_back({lastIncomingDue, bytes[i]});
    }
}

// Called with the mutex held.
void SimulatedModule::deliverDueIncoming() {
    const Clock::time_point now = Clock::now();
    while (!vanished && !incoming.empty() && incoming.front().due <= now) {
        const char byte = incoming.front().byte;
        incoming.pop_front();
        receive(byte);
    }
}

void SimulatedModule::receive(char byte) {
    if (receivedBytes.isEmpty()) {
        termios settings{};
        ::tcgetattr(slaveFd, &settings);
        firstByteSettings = settings;
    }
    receivedBytes.append(byte);
    receivedTimes.push_back(Clock::now());
    receivedChanged.notify_all();

    if (afterTilde) {
        afterTilde = false;
        countsSinceCommand.clear();
        const auto rule = commandReplies.find(byte);
        if (rule != commandReplies.end())
            schedule(rule->second);
    } else {
        afterTilde = byte == '~';
        const int count = ++countsSinceCommand[byte];
        const auto rule = countReplies.find({byte, count});
        if (rule != countReplies.end())
            schedule(rule->second);
    }
    if (vanishAt >= 0 && receivedBytes.size() >= vanishAt)
        vanish();
}

void SimulatedModule::schedule(const Reply &reply) {
    const Clock::time_point now = Clock::now();
    Clock::time_point due = std::max(now + std::chrono::milliseconds(reply.delayMs), lastDue);
    for (qsizetype i = 0; i < reply.bytes.size(); ++i) {
        if (reply.paced)
            due += byteTime;
        pending.push_back({due, reply.bytes.at(i), reply.vanishAfter && i == reply.bytes.size() - 1});
    }
    lastDue = due;
}

// Called with the mutex held.
void SimulatedModule::vanish() {
    vanished = true;
    pending.clear();
    incoming.clear();
    if (masterFd >= 0)
        ::close(masterFd);
    if (slaveFd >= 0)
        ::close(slaveFd);
    masterFd = slaveFd = -1;
    if (!linkPath.isEmpty())
        QFile::remove(linkPath);
    receivedChanged.notify_all();
}

// Whether the program has read everything sent to it. Called with the mutex held.
bool SimulatedModule::drained() const {
    // The terminal hands written bytes on asynchronously; give them time to show up as unread.
    if (Clock::now() - lastWrite < 2 * byteTime)
        return false;
    int unread = 0;
    return ::ioctl(slaveFd, FIONREAD, &unread) != 0 || unread == 0;
}

void SimulatedModule::wake() {
    const char byte = 0;
    [[maybe_unused]] const ssize_t written = ::write(wakeFds[1], &byte, 1);
}
