#pragma once

#include "mainwindow/formvalues.h"

#include <QString>

// The device configuration text: 56 fields, each padded with spaces to 16 characters, joined by
// the download separator; a check suffix may follow the last field directly.
namespace ConfigText {

constexpr int fieldWidth = 16;
constexpr int fieldCount = 56;

enum class Problem {
    None,
    GreaterThanZero, // relay time or SMS limit below 1: "Value must be greater than 0!"
    AllInputs,       // a required field is empty: "All inputs must be filled."
    SevenBit,        // a character outside the 7-bit set: "Only numbers and letters! (only 7-bit ascii)"
};

struct Result {
    QString text; // the composed text, without check suffix; empty when problem is not None
    Problem problem = Problem::None;
    int editIndex = -1; // GreaterThanZero: the edit to clear and focus; AllInputs of fields 9 to 44:
                        // the empty edit; otherwise -1
};

// Composes the text from the form's values. The tests run in field order and the first failing
// one decides. With testGreaterThanZero, rele_time and maxsms must read as numbers of at least 1,
// tested before their emptiness. With nameEmptyFieldInDebug, an empty edit of fields 9 to 44 has its
// object name written, in double quotes, to the debug output. Unreadable "group" properties and
// radio names write "toInt error." and add nothing.
Result compose(const FormValues &form, char separator, bool testGreaterThanZero, bool nameEmptyFieldInDebug = false);

// The sum of the signed Latin-1 bytes of a text (a character above U+00FF counts 0).
qint32 checkSum(const QString &text);

// The check suffix of a text: for checkSize 0 to 3 the remainder of its sum divided by 8, 16, 24 or
// 32, with the sign of the sum, in decimal; any other checkSize is itself the suffix character.
QString checkSuffix(const QString &text, char checkSize);

// The expected check for a sum: the decimal remainder for checkSize 0 to 3, else the character.
QString checkText(qint32 sum, char checkSize);

// A character's byte as sent: its Latin-1 value read as a signed 8-bit number; 0 outside Latin-1.
qint8 signedByte(QChar c);

} // namespace ConfigText
