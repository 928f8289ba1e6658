#pragma once

#include "link/linksettings.h"
#include "mainwindow/formvalues.h"

#include <QByteArray>
#include <QString>

// The module's reply as text: Latin-1, the byte 0xFF as a space, and every line end ("\r\n", then
// a lone "\n", then a lone "\r") as "|", whatever separator the settings name.
QString normaliseReply(const QByteArray &received);

// The bytes received by the transfer loop, which appends the last byte once more after the read
// that times out; unchanged when nothing arrived.
QByteArray withRepeatedLastByte(const QByteArray &received);

// Parsing the configuration text that the module sends back for a read-back.
//
// Layout of a reply: the 56 fields of the configuration text, each on its own line (the module ends
// every line; the fields may also be joined by the upload separator). With the check on
// (checkValue > 0) one more part follows the 56 fields: the check, on its own line. It is the
// remainder (checkSize 0 to 3) or the character (any other checkSize) of the sum of the signed
// bytes of every part before it plus, once per such part, the signed byte of the upload separator.
namespace ReadBack {

enum class Error {
    None,
    Separator, // no upload separator in the normalised reply: "sep error"
    Check,     // the check part is wrong or missing: "chks error" for checkSize 0 to 3
    Count,     // not 56 parts, or not 50 once the blank ones are dropped: "dberror"
};

struct Result {
    Error error = Error::None;
    FormValues values; // the form as the reply sets it; the current form when error is not None
};

// `received` is the reply exactly as the bytes came in; the last byte is not repeated.
// `current` gives the form's lists (names, "group" properties) and the values that the reply leaves
// as they are. Edits get the reply's texts uncut: the form's line edits cut them to their maximum
// length. An analog part that ends at its comma leaves the decimal-digit edit empty. A phone row's
// output radios are all unchecked when the reply names an output no radio of the row carries, or no
// output at all (a part of one character); the form's exclusive group then keeps its checked radio.
Result parse(const QByteArray &received, const LinkSettings &settings, const FormValues &current);

} // namespace ReadBack
