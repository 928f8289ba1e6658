#pragma once

#include <QList>
#include <QStringList>

#include <optional>

// The first rule broken by the texts of the edit list, and what the form does about it.
struct ValidationFailure {
    enum Message { OnlyNumbers, Range, SevenBit, ZeroOrOne, PhoneNumber };

    QList<int> cleared; // edit indexes to clear, in the order they are cleared
    int focused;        // edit index that gets the keyboard focus (the last one focused)
    Message message;

    bool operator==(const ValidationFailure &other) const = default;
};

// Checks the edit list (object names and texts, in list order; the last eight are the phone
// numbers) as the editing of any line edit finishes. Empty edits always pass. The first pass
// covers every edit but the last eight, by rule class of the object name; only when it finds
// nothing, the second pass covers the phone numbers. Returns the first failure, or nothing.
std::optional<ValidationFailure> checkEdits(const QStringList &names, const QStringList &texts);

// Character tests of the validation.
bool isDigitOrSpace(QChar c);
bool isSevenBit(QChar c); // codes 1 to 127; a character outside Latin-1 counts as code 0
