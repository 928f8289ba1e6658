#pragma once

#include "mainwindow/formvalues.h"

#include <QStringList>

#include <optional>

class QTextStream;

// The ".sms" configuration file: the form written out one value per line, in the order of the
// form lists: the 55 edit texts unchanged, then "1" or "0" for each of the 48 check boxes and the
// 48 radio buttons. Position is meaning; there is no header and no escaping.
namespace SmsFile {

constexpr int lineCount = FormValues::editCount + FormValues::checkCount + FormValues::radioCount; // 151

// The largest file the loader reads. Every file the program writes is under 3 KB, and a file
// edited by hand with long values (which the edits cut) is far below it; a larger one is refused
// unread.
constexpr qint64 maxFileSize = 1 << 20;

QStringList toLines(const FormValues &form);

// Reads lines as the loader does: one whole line at a time, stopping after a line that is exactly
// "---" (which is kept) or at the end of the stream. At least one line is read, so an empty stream
// gives one empty line. It stops after lineCount + 1 lines: a file of more is refused all the same.
QStringList readLines(QTextStream &in);

// The values of exactly lineCount lines: the edits take their lines unchanged, a check box or radio
// button is checked exactly when its line is "1". The name lists of the result are left empty.
// Nothing for any other number of lines.
std::optional<FormValues> fromLines(const QStringList &lines);

// Writes every line followed by "\r\n", the last one included.
void write(QTextStream &out, const QStringList &lines);

// The name shown for a file: its base name (up to the first point), a point and its complete
// suffix (everything after the first point).
QString displayName(const QString &path);

} // namespace SmsFile
