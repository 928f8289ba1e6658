#include "smsfile.h"

#include <QFileInfo>
#include <QTextStream>

#include <algorithm>

namespace SmsFile {

static_assert(lineCount == 151);

namespace {

QString stateLine(bool checked) {
    return checked ? QStringLiteral("1") : QStringLiteral("0");
}

QList<bool> statesOf(const QStringList &lines, int first, int count) {
    QList<bool> states;
    states.reserve(count);
    for (int index = first; index < first + count; ++index)
        states << (lines.at(index) == QLatin1String("1"));
    return states;
}

bool tooLong(const QString &line) {
    return line.size() > maxLineLength;
}

} // namespace

QStringList toLines(const FormValues &form) {
    QStringList lines = form.edits;
    for (bool checked : form.checks)
        lines << stateLine(checked);
    for (bool checked : form.radios)
        lines << stateLine(checked);
    return lines;
}

QStringList readLines(QTextStream &in) {
    // readLine() counts the line end towards its limit and splits a line that does not fit whole;
    // with room for "\r\n" a line of maxLineLength characters comes whole, and any piece of a
    // longer one is longer than that.
    constexpr qint64 readLimit = maxLineLength + 2;
    QStringList lines;
    do {
        lines << in.readLine(readLimit);
        if (lines.last() == QLatin1String("---") || tooLong(lines.last()))
            break;
    } while (lines.size() <= lineCount && !in.atEnd());
    return lines;
}

std::optional<FormValues> fromLines(const QStringList &lines) {
    if (lines.size() != lineCount || std::any_of(lines.cbegin(), lines.cend(), tooLong))
        return std::nullopt;
    FormValues form;
    form.edits = lines.mid(0, FormValues::editCount);
    form.checks = statesOf(lines, FormValues::editCount, FormValues::checkCount);
    form.radios = statesOf(lines, FormValues::editCount + FormValues::checkCount, FormValues::radioCount);
    return form;
}

void write(QTextStream &out, const QStringList &lines) {
    for (const QString &line : lines)
        out << line << "\r\n";
}

QString displayName(const QString &path) {
    const QFileInfo info(path);
    return info.baseName() + QLatin1Char('.') + info.completeSuffix();
}

} // namespace SmsFile
