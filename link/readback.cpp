#include "readback.h"

#include "link/configtext.h"

#include <QDebug>

QString normaliseReply(const QByteArray &received) {
    QString text = QString::fromLatin1(received);
    text.replace(QChar(0xFF), QLatin1Char(' '));
    text.replace(QLatin1String("\r\n"), QLatin1String("|"));
    text.replace(QLatin1Char('\n'), QLatin1Char('|'));
    text.replace(QLatin1Char('\r'), QLatin1Char('|'));
    return text;
}

QByteArray withRepeatedLastByte(const QByteArray &received) {
    if (received.isEmpty())
        return received;
    return received + received.back();
}

namespace ReadBack {

namespace {

// Positions in the list of parts left once the blank ones are dropped.
constexpr int plainPartCount = 7; // edits 1 to 7
constexpr int ringingPart = 7;
constexpr int firstAnalogPart = 8;
constexpr int analogPairCount = 6;
constexpr int firstTextPart = 14;
constexpr int textPartCount = 28;
constexpr int firstPhonePart = 42;
constexpr int mappedPartCount = 50;

constexpr int firstAnalogEdit = 7;
constexpr int firstTextEdit = 19;

void removeEmptyParts(QStringList &parts) {
    parts.removeIf([](const QString &part) { return part.isEmpty(); });
}

void stripTrailingSpaces(QStringList &parts) {
    for (QString &part : parts) {
        qsizetype length = part.size();
        while (length > 0 && part.at(length - 1) == QLatin1Char(' '))
            --length;
        part.truncate(length);
    }
}

bool checkPartMatches(const QStringList &parts, const LinkSettings &settings) {
    if (parts.isEmpty())
        return false;
    const qint32 separatorByte = ConfigText::signedByte(QLatin1Char(settings.uploadSeparator));
    quint32 sum = 0; // wraps like a 32-bit sum
    for (qsizetype index = 0; index + 1 < parts.size(); ++index)
        sum += quint32(ConfigText::checkSum(parts.at(index))) + quint32(separatorByte);
    return parts.last() == ConfigText::checkText(qint32(sum), settings.checkSize);
}

bool isMaxVoltageEdit(const QString &name) {
    return name == QLatin1String("abe1_x") || name == QLatin1String("abe2_x");
}

// A digit of a phone row part: its code minus the code of '0'.
int rowDigit(const QString &part, int position) {
    return part.at(position).unicode() - '0';
}

// A phone row part too short to name an output names one that no radio of the row carries, so the
// row keeps its choice, as it does for a digit outside '0' to '4'.
constexpr int noOutput = -1;

bool bitSet(int mask, int column) {
    return column >= 1 && column <= 31 && ((mask >> (column - 1)) & 1);
}

void setRadio(FormValues &form, const QString &name, bool checked) {
    const qsizetype index = form.radioNames.indexOf(name);
    if (index >= 0)
        form.radios[index] = checked;
}

// Each output's pair is one exclusive group: kN is checked, then bN when bit N-1 is set.
void applyRinging(FormValues &form, const QString &part) {
    const int mode = part.toInt();
    for (int output = 1; output <= 4; ++output) {
        const bool monostable = (mode >> (output - 1)) & 1;
        setRadio(form, QStringLiteral("k%1").arg(output), !monostable);
        setRadio(form, QStringLiteral("b%1").arg(output), monostable);
    }
}

// The part is two integer characters, a comma and the decimal digit. A part that ends at its comma
// was sent with an empty decimal edit: that edit stays empty, so the next download sends the part
// unchanged. (A decimal digit sent as a space arrives stripped, and so as an empty one.)
void applyAnalogPair(FormValues &form, int firstEdit, const QString &part) {
    form.edits[firstEdit] = isMaxVoltageEdit(form.editNames.value(firstEdit)) ? part.left(2) : part.mid(1, 1);
    const bool decimalDigitEmpty = part.size() == 3 && part.endsWith(QLatin1Char(','));
    form.edits[firstEdit + 1] = decimalDigitEmpty ? QString() : part.right(1);
}

void applyPhoneRows(FormValues &form, const QStringList &rowParts) {
    int masks[FormValues::phoneRows + 1] = {};
    int outputs[FormValues::phoneRows + 1] = {};
    for (int row = 1; row <= FormValues::phoneRows; ++row) {
        const QString &part = rowParts.at(row - 1);
        masks[row] = rowDigit(part, 0);
        outputs[row] = part.size() >= 2 ? rowDigit(part, 1) : noOutput;
        form.edits[FormValues::firstPhoneEdit + row - 1] = part.mid(2);
    }

    for (int row = 1; row <= FormValues::phoneRows; ++row) {
        for (qsizetype index = 0; index < form.checks.size(); ++index) {
            const QStringList numbers = form.checkGroups.value(index).split(QLatin1Char('.'));
            if (numbers.first().toInt() == row)
                form.checks[index] = bitSet(masks[row], numbers.value(1).toInt());
        }
    }

    for (int row = 1; row <= FormValues::phoneRows; ++row) {
        for (qsizetype index = 0; index < form.radios.size(); ++index) {
            const QString &name = form.radioNames.value(index);
            if (!name.startsWith(QLatin1Char('r')))
                continue;
            const QStringList numbers = name.mid(1).split(QLatin1Char('_'));
            if (numbers.first().toInt() == row)
                form.radios[index] = numbers.value(1).toInt() == outputs[row];
        }
    }
}

void applyParts(FormValues &form, const QStringList &parts) {
    for (int index = 0; index < plainPartCount; ++index)
        form.edits[index] = parts.at(index);
    applyRinging(form, parts.at(ringingPart));
    for (int pair = 0; pair < analogPairCount; ++pair)
        applyAnalogPair(form, firstAnalogEdit + 2 * pair, parts.at(firstAnalogPart + pair));
    for (int index = 0; index < textPartCount; ++index)
        form.edits[firstTextEdit + index] = parts.at(firstTextPart + index);
    applyPhoneRows(form, parts.mid(firstPhonePart, FormValues::phoneRows));
}

Result failure(Error error, const FormValues &current) {
    return Result{error, current};
}

} // namespace

Result parse(const QByteArray &received, const LinkSettings &settings, const FormValues &current) {
    // The receive loop does not repeat the last byte here: a reply without a final line end would
    // otherwise get its last character twice.
    const QString text = normaliseReply(received);
    QStringList parts = text.split(QLatin1Char(settings.uploadSeparator), Qt::KeepEmptyParts, Qt::CaseSensitive);
    if (parts.first() == text) {
        qDebug() << "sep error";
        return failure(Error::Separator, current);
    }
    removeEmptyParts(parts);

    if (settings.checkValue > 0) {
        if (!checkPartMatches(parts, settings)) {
            if (settings.checkSize >= 0 && settings.checkSize <= 3)
                qDebug() << "chks error";
            return failure(Error::Check, current);
        }
        parts.removeLast();
    }

    stripTrailingSpaces(parts);
    if (parts.size() != ConfigText::fieldCount) {
        qDebug() << "dberror";
        return failure(Error::Count, current);
    }
    // Drops the reserved fields; a text field sent as spaces only would go too and shift the rest.
    removeEmptyParts(parts);
    if (parts.size() != mappedPartCount) {
        qDebug() << "dberror";
        return failure(Error::Count, current);
    }

    Result result{Error::None, current};
    applyParts(result.values, parts);
    return result;
}

} // namespace ReadBack
