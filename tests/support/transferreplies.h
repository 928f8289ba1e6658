#pragma once

#include "link/configtext.h"
#include "mainwindow/formvalues.h"

#include <QByteArray>
#include <QDir>
#include <QFile>
#include <QString>
#include <QStringList>

// Replies of the simulated module for read-back and verify, and checks shared by their tests.
namespace TransferReplies {

// The module sends each field on its own line, CR LF ended, then the tail.
inline QByteArray linesOf(const QStringList &fields, const QByteArray &tail = QByteArray()) {
    QByteArray reply;
    for (const QString &field : fields)
        reply += field.toLatin1() + "\r\n";
    return reply + tail;
}

// The 56 fields of a module that holds a known configuration, each padded to 16 characters:
// SMS centre 36209300099 (Telenor), relay time 0005, ringing 05, analog pairs 05,3 08, 10,0 02,0
// 09,9 12,5, texts "Text 17" to "Text 44", phone rows 00361234, 31, Q3363012345678, 00, 04, 00, 00, o0.
inline QStringList storedFields() {
    QStringList fields = {"36209300099", "0012", "0042", "Front gate", "1",    "0005", "10", "05",
                          "05,3",        "08,",  "10,0", "02,0",       "09,9", "12,5", "",   ""};
    for (int n = 17; n <= 44; ++n)
        fields << QStringLiteral("Text %1").arg(n);
    fields << ""
           << ""
           << ""
           << "";
    fields << "00361234"
           << "31"
           << "Q3363012345678"
           << "00"
           << "04"
           << "00"
           << "00"
           << "o0";
    for (QString &field : fields)
        field = field.leftJustified(16, QLatin1Char(' '));
    return fields;
}

// The 56 fields of a module that holds the given form: what a download of it carries, without a
// check suffix.
inline QStringList fieldsOf(const FormValues &form) {
    return ConfigText::compose(form, '|', false).text.split(QLatin1Char('|'));
}

// Threads of this process whose name (Qt names a QThread after its class) is the given one. A thread
// that QThread::wait() has seen finish still runs its last steps, and stays listed a moment: ask
// with QTRY_COMPARE.
inline int threadCount(const QByteArray &name) {
    int count = 0;
    const QDir tasks(QStringLiteral("/proc/self/task"));
    for (const QString &task : tasks.entryList(QDir::Dirs | QDir::NoDotAndDotDot)) {
        QFile comm(tasks.filePath(task + QStringLiteral("/comm")));
        if (comm.open(QIODevice::ReadOnly) && comm.readAll().trimmed() == name)
            ++count;
    }
    return count;
}

} // namespace TransferReplies
