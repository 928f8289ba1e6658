#pragma once

#include <QString>
#include <QStringList>

// Writing a ".sms" file over whatever the user chose, without a window, so that what stood there
// stays what it was.
namespace SaveFile {

enum class Method {
    // Written to a temporary file beside it, which takes its place once complete: a new file, or
    // a regular file that the replacement leaves the same (one name, an owner and group that the
    // temporary file can be given, a folder in which it can be made).
    Replace,
    // Its contents replaced where it stands: a regular file that a replacement would change.
    InPlace,
    // Not touched, not even opened: a target that is not a regular file, links followed (a FIFO,
    // a device, a socket, a folder).
    Refuse,
};

// How path is to be written, by what stands there now.
Method methodFor(const QString &path);

// Writes the lines, each followed by "\r\n", in the locale's encoding, by methodFor(path); false
// when the file was refused or not written whole.
bool writeSmsFile(const QString &path, const QStringList &lines);

} // namespace SaveFile
