#pragma once

#include <QStringList>
#include <QtGlobal>

// Collects every line written to the debug output (qDebug and the rest) while it lives, so that a
// test can compare the exact diagnostics, or their absence. One at a time; not for threads.
class DebugCapture {
public:
    DebugCapture() : previous(qInstallMessageHandler(&DebugCapture::handle)) { lines().clear(); }
    ~DebugCapture() { qInstallMessageHandler(previous); }
    DebugCapture(const DebugCapture &) = delete;
    DebugCapture &operator=(const DebugCapture &) = delete;

    static QStringList &lines() {
        static QStringList captured;
        return captured;
    }

private:
    static void handle(QtMsgType, const QMessageLogContext &, const QString &message) { lines() << message; }

    QtMessageHandler previous;
};
