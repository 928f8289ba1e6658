#include "validation.h"

#include <algorithm>

namespace {

constexpr int phoneCount = 8;

bool isNumericName(const QString &name) {
    static const QStringList names = {"smskp", "m_id", "m_pin", "rele_time", "maxsms"};
    return names.contains(name);
}

// The integer edits of the analog values and the decimal-digit edits of the alert values. Each is
// paired with the edit that follows it in the list; the decimal-digit edits of the maximum voltages
// (abe1_x_2, abe2_x_2) are plain text edits of their own.
bool isAnalogName(const QString &name) {
    static const QStringList names = {"abe1_lo", "abe1_hi",   "abe1_x",    "abe2_lo",   "abe2_hi",
                                      "abe2_x",  "abe1_lo_2", "abe1_hi_2", "abe2_lo_2", "abe2_hi_2"};
    return names.contains(name);
}

bool allDigitsOrSpaces(const QString &text) {
    return std::all_of(text.cbegin(), text.cend(), isDigitOrSpace);
}

bool allSevenBit(const QString &text) {
    return std::all_of(text.cbegin(), text.cend(), isSevenBit);
}

// The text read as a decimal integer, surrounding spaces ignored; 0 when it holds no number.
qint64 numberIn(const QString &text) {
    return text.toInt();
}

ValidationFailure failure(QList<int> cleared, int focused, ValidationFailure::Message message) {
    return ValidationFailure{std::move(cleared), focused, message};
}

std::optional<ValidationFailure> checkAnalogPair(int index, const QStringList &texts) {
    const int next = index + 1;
    const QString &value = texts.at(index);
    const QString nextValue = next < texts.size() ? texts.at(next) : QString();

    QList<int> cleared;
    int focused = -1;
    if (!allDigitsOrSpaces(value)) {
        cleared << index;
        focused = index;
    }
    if (!allDigitsOrSpaces(nextValue)) {
        cleared << next;
        focused = next;
    }
    if (!cleared.isEmpty())
        return failure(cleared, focused, ValidationFailure::OnlyNumbers);

    const qint64 combined = 10 * numberIn(value) + numberIn(nextValue);
    if ((combined < 1 || combined > 999) && !nextValue.isEmpty())
        return failure({index, next}, index, ValidationFailure::Range);
    return std::nullopt;
}

std::optional<ValidationFailure> checkFirstPassEdit(int index, const QStringList &names, const QStringList &texts) {
    const QString &name = names.at(index);
    const QString &text = texts.at(index);

    if (isNumericName(name)) {
        if (!allDigitsOrSpaces(text))
            return failure({index}, index, ValidationFailure::OnlyNumbers);
    } else if (isAnalogName(name)) {
        if (auto result = checkAnalogPair(index, texts))
            return result;
    } else if (!allSevenBit(text)) {
        return failure({index}, index, ValidationFailure::SevenBit);
    }

    if (name == QLatin1String("visszaallas") && text != QLatin1String("0") && text != QLatin1String("1"))
        return failure({index}, index, ValidationFailure::ZeroOrOne);
    return std::nullopt;
}

} // namespace

bool isDigitOrSpace(QChar c) {
    return (c >= QLatin1Char('0') && c <= QLatin1Char('9')) || c == QLatin1Char(' ');
}

bool isSevenBit(QChar c) {
    const int code = c.unicode() <= 0xFF ? c.unicode() : 0;
    return code >= 1 && code <= 127;
}

std::optional<ValidationFailure> checkEdits(const QStringList &names, const QStringList &texts) {
    const int count = std::min(names.size(), texts.size());
    const int firstPhone = std::max(0, count - phoneCount);

    for (int index = 0; index < firstPhone; ++index) {
        if (texts.at(index).isEmpty())
            continue;
        if (auto result = checkFirstPassEdit(index, names, texts))
            return result;
    }

    for (int index = firstPhone; index < count; ++index) {
        if (!allDigitsOrSpaces(texts.at(index)))
            return failure({index}, index, ValidationFailure::PhoneNumber);
    }
    return std::nullopt;
}
