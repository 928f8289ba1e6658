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

// The longest line a file may hold. Far longer than any field of the form (16 characters), so a
// file the program wrote, or one edited by hand whose long values the edits cut, loads as ever;
// a file of one endless line is refused after reading this much of it.
constexpr int maxLineLength = 1024;

QStringList toLines(const FormValues &form);

// Reads lines as the loader does: one line at a time, stopping after a line that is exactly "---"
// (which is kept) or at the end of the stream. At least one line is read, so an empty stream gives
// one empty line. It reads no more than it takes to tell a well-formed file from any other: it
// stops after lineCount + 1 lines, and at a line longer than maxLineLength, of which it keeps
// more than maxLineLength characters but not the whole.
QStringList readLines(QTextStream &in);

// The values of exactly lineCount lines: the edits take their lines unchanged, a check box or radio
// button is checked exactly when its line is "1". The name lists of the result are left empty.
// Nothing for any other number of lines, nor when a line is longer than maxLineLength.
std::optional<FormValues> fromLines(const QStringList &lines);

// Writes every line followed by "\r\n", the last one included.
void write(QTextStream &out, const QStringList &lines);

// The name shown for a file: its base name (up to the first point), a point and its complete
// suffix (everything after the first point).
QString displayName(const QString &path);

} // namespace SmsFile
