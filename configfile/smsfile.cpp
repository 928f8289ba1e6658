#include "smsfile.h"

#include <QFileInfo>
#include <QTextStream>

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
    QStringList lines;
    do {
        lines << in.readLine();
        if (lines.last() == QLatin1String("---"))
            break;
    } while (lines.size() <= lineCount && !in.atEnd());
    return lines;
}

std::optional<FormValues> fromLines(const QStringList &lines) {
    if (lines.size() != lineCount)
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
