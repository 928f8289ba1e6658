#include "configtext.h"

#include <QDebug>
#include <QMap>

#include <algorithm>

namespace ConfigText {

namespace {

// Edit indexes of the values composed from the edit list.
constexpr int pinEdit = 1;
constexpr int idEdit = 2;
constexpr int releTimeEdit = 5;
constexpr int maxSmsEdit = 6;
constexpr int firstAnalogEdit = 7; // six pairs: integer edit, decimal-digit edit
constexpr int analogPairCount = 6;
constexpr int firstTextEdit = 19; // fields 17 to 44
constexpr int textFieldCount = 28;
constexpr int reservedAfterAnalog = 2;
constexpr int reservedAfterTexts = 4;

QString field(const QString &value) {
    return value.leftJustified(fieldWidth, QLatin1Char(' '));
}

QString zeroPadded(const QString &value, int width) {
    return value.rightJustified(width, QLatin1Char('0'));
}

bool readTwoNumbers(const QString &text, QChar splitAt, int &first, int &last) {
    const QStringList parts = text.split(splitAt, Qt::KeepEmptyParts);
    bool firstOk = false;
    bool lastOk = false;
    first = parts.first().toInt(&firstOk, 10);
    last = parts.last().toInt(&lastOk, 10);
    return firstOk && lastOk;
}

int bitValue(int column) {
    return column >= 1 && column <= 31 ? 1 << (column - 1) : 0;
}

QMap<int, int> alarmMasks(const FormValues &form) {
    QMap<int, int> masks;
    for (int index = 0; index < form.checks.size(); ++index) {
        int row = 0;
        int column = 0;
        if (!readTwoNumbers(form.checkGroups.value(index), QLatin1Char('.'), row, column)) {
            qDebug() << "toInt error.";
            continue;
        }
        if (form.checks.at(index))
            masks[row] += bitValue(column);
        else if (!masks.contains(row))
            masks.insert(row, 0);
    }
    return masks;
}

QMap<int, int> outputControls(const FormValues &form) {
    QMap<int, int> outputs;
    for (int index = 0; index < form.radios.size(); ++index) {
        const QString name = form.radioNames.value(index);
        if (!name.startsWith(QLatin1Char('r')))
            continue;
        int row = 0;
        int output = 0;
        if (!readTwoNumbers(name.mid(1), QLatin1Char('_'), row, output)) {
            qDebug() << "toInt error.";
            continue;
        }
        if (form.radios.at(index))
            outputs[row] += output;
        else if (!outputs.contains(row))
            outputs.insert(row, 0);
    }
    return outputs;
}

int ringingMode(const FormValues &form) {
    static const char *const names[] = {"b1", "b2", "b3", "b4"};
    int mode = 0;
    for (int bit = 0; bit < 4; ++bit) {
        const int index = form.radioNames.indexOf(QLatin1String(names[bit]));
        if (index >= 0 && form.radios.value(index))
            mode += 1 << bit;
    }
    return mode;
}

bool allowedInText(QChar c) {
    const qint8 byte = signedByte(c);
    return byte > 0 || quint8(byte) == 0xA4; // 1 to 127, or '¤'
}

Result failure(Problem problem, int editIndex = -1) {
    return Result{QString(), problem, editIndex};
}

Result emptyField(const FormValues &form, int editIndex, bool nameInDebug) {
    if (nameInDebug)
        qDebug() << form.editNames.value(editIndex);
    return failure(Problem::AllInputs, editIndex);
}

} // namespace

qint8 signedByte(QChar c) {
    return qint8(c.toLatin1());
}

qint32 checkSum(const QString &text) {
    quint32 sum = 0; // wraps like the device's 32-bit sum
    for (QChar c : text)
        sum += quint32(qint32(signedByte(c)));
    return qint32(sum);
}

QString checkText(qint32 sum, char checkSize) {
    if (checkSize >= 0 && checkSize <= 3)
        return QString::number(sum % (8 * (checkSize + 1)));
    return QString(QLatin1Char(checkSize));
}

QString checkSuffix(const QString &text, char checkSize) {
    return checkText(checkSum(text), checkSize);
}

Result compose(const FormValues &form, char separator, bool testGreaterThanZero, bool nameEmptyFieldInDebug) {
    const QChar separatorChar = QLatin1Char(separator);
    const QMap<int, int> masks = alarmMasks(form);
    const QMap<int, int> outputs = outputControls(form);
    const auto edit = [&form](int index) { return form.edits.value(index); };

    QString text;

    // Fields 1 to 7.
    for (int index = 0; index <= maxSmsEdit; ++index) {
        const QString value = edit(index);
        if (testGreaterThanZero && (index == releTimeEdit || index == maxSmsEdit) && value.toInt() < 1)
            return failure(Problem::GreaterThanZero, index);
        const bool padded = index == pinEdit || index == idEdit || index == releTimeEdit;
        text += field(padded ? zeroPadded(value, 4) : value);
        if (value.isEmpty())
            return failure(Problem::AllInputs);
        text += separatorChar;
    }

    // Field 8: the outputs whose ringing behaviour is monostable.
    text += field(zeroPadded(QString::number(ringingMode(form)), 2));
    text += separatorChar;

    // Fields 9 to 14: integer part, comma, decimal digit.
    for (int pair = 0; pair < analogPairCount; ++pair) {
        const int first = firstAnalogEdit + 2 * pair;
        text += field(zeroPadded(edit(first), 2) + QLatin1Char(',') + edit(first + 1));
        if (edit(first).isEmpty())
            return emptyField(form, first, nameEmptyFieldInDebug);
        text += separatorChar;
    }

    for (int reserved = 0; reserved < reservedAfterAnalog; ++reserved)
        text += field(QString()) + separatorChar;

    // Fields 17 to 44.
    for (int index = firstTextEdit; index < firstTextEdit + textFieldCount; ++index) {
        text += field(edit(index));
        if (edit(index).isEmpty())
            return emptyField(form, index, nameEmptyFieldInDebug);
        text += separatorChar;
    }

    for (int reserved = 0; reserved < reservedAfterTexts; ++reserved)
        text += field(QString()) + separatorChar;

    // The phone rows are not tested; '¤' (0xA4) is the one byte above 127 the module takes.
    if (!std::all_of(text.cbegin(), text.cend(), allowedInText))
        return failure(Problem::SevenBit);

    text.chop(1);

    for (int row = 1; row <= FormValues::phoneRows; ++row) {
        const QChar rights(ushort('0' + masks.value(row)));
        const QChar output(ushort('0' + outputs.value(row)));
        text += separatorChar;
        text += field(QString(rights) + output + edit(FormValues::firstPhoneEdit + row - 1));
    }
    return Result{text, Problem::None, -1};
}

} // namespace ConfigText
