#include "statusreply.h"

#include <QStringList>

namespace {

constexpr int minimumParts = 7;

bool charIs(const QString &part, qsizetype position, char expected) {
    return position < part.size() && part.at(position) == QLatin1Char(expected);
}

// Only 1 to 3 pass unchanged (10, 20, 30); anything else, a number too large included, gives 2.
int signalValue(const QString &text) {
    const qint64 value = qint64(text.toInt(nullptr, 10)) * 10;
    return value > 30 || value <= 1 ? 2 : int(value);
}

} // namespace

std::optional<StatusReport> parseStatusReply(const QByteArray &reply, char supplyOnChar) {
    const QStringList parts = QString::fromLatin1(reply).split(QLatin1Char(' '), Qt::KeepEmptyParts);
    if (parts.size() < minimumParts)
        return std::nullopt;

    StatusReport report;
    for (int index = 0; index < 4; ++index) {
        report.outputs[index] = charIs(parts.at(0), 5 + index, '1');
        report.inputs[index] = charIs(parts.at(1), 3 + index, '1');
    }
    report.analog1 = parts.at(2).mid(3);
    report.analog2 = parts.at(3).mid(3);
    report.supplyOn = charIs(parts.at(4), 6, supplyOnChar);
    report.signal = signalValue(parts.at(5).mid(5));
    report.version = parts.at(6);
    return report;
}
