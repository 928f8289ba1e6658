#include "savefile.h"

#include "smsfile.h"

#include <QSaveFile>
#include <QTextStream>

namespace SaveFile {

// The lines go to a temporary file beside it, which takes its place only once complete: a write
// that fails (a full disk) leaves the old file as it was.
bool writeSmsFile(const QString &path, const QStringList &lines) {
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly))
        return false;
    QTextStream out(&file);
    out.setEncoding(QStringConverter::System);
    SmsFile::write(out, lines);
    out.flush();
    if (out.status() != QTextStream::Ok) {
        file.cancelWriting();
        return false;
    }
    return file.commit();
}

} // namespace SaveFile
