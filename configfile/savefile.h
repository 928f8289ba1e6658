#pragma once

#include <QString>
#include <QStringList>

// Writing a ".sms" file over whatever the user chose, without a window.
namespace SaveFile {

// Writes the lines, each followed by "\r\n", in the locale's encoding; false when the file was not
// written whole.
bool writeSmsFile(const QString &path, const QStringList &lines);

} // namespace SaveFile
