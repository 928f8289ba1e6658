#pragma once

#include <QByteArray>
#include <QString>

#include <sys/types.h>

#include <chrono>
#include <vector>

// The simulated module, run in a child process of its own so that the benchmark's CPU figures
// are the program's alone. The child is forked before anything else starts a thread, and serves
// one module at a time, scripted over a socket: every module takes the program's bytes off the
// line at 1200 baud and sends its replies paced at 1200 baud.
class ModuleHost {
public:
    // Forks the child; call it first in main(), before any thread exists.
    bool start();
    ~ModuleHost();

    // A fresh module on COM1; returns the folder for DOWNLOADER_PORT_DIR, empty on failure.
    QString openModule();
    // Rules for the open module, as SimulatedModule::onCommand and onByteCount, replies paced.
    bool onCommand(char command, const QByteArray &reply);
    bool onByteCount(char byte, int count, const QByteArray &reply);
    struct Received {
        QByteArray bytes;
        std::vector<std::chrono::steady_clock::time_point> arrivalTimes; // one for each byte
    };
    // Closes the module; returns every byte it received from the program, and when it arrived.
    Received closeModule();

private:
    QByteArray request(const QByteArray &line);

    pid_t pid = -1;
    int socket = -1;
};
