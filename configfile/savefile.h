#pragma once

#include <QString>
#include <QStringList>

// Writing a ".sms" file over whatever the user chose, without a window, so that what stood there
// stays what it was.
namespace SaveFile {

// Writes the lines, each followed by "\r\n", in the locale's encoding, over what stands at path
// (links followed), which is looked up without being opened, and only a regular file then opened
// (the very file looked up):
// - nothing, or a regular file that a replacement leaves the same (one name, no extended
//   attributes, an owner and group that a new file can be given, a folder in which it can be
//   made): written to a temporary file beside it, which takes its owner, group and mode bits and
//   then its place once complete;
// - any other regular file: its contents replaced where it stands, once room for all of them is
//   reserved, so that a disk without that room leaves the file as it was (a file that the user may
//   write but not read, only where the file system reserves the room itself);
// - anything else (a FIFO, a device, a socket, a folder), never opened, or a file that cannot be
//   opened for writing: refused, untouched.
// False when refused or not written whole.
bool writeSmsFile(const QString &path, const QStringList &lines);

} // namespace SaveFile
