#include "fuzzsupport.h"
#include "link/linksettings.h"

#include <QTextStream>

extern "C" int LLVMFuzzerInitialize(int *, char ***) {
    silenceQtMessages();
    return 0;
}

// key=value lines of any content: reading never fails, and keys it does not know change nothing.
extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size) {
    QString text = QString::fromUtf8(reinterpret_cast<const char *>(data), qsizetype(size));
    QTextStream in(&text);
    LinkSettings settings;
    settings.read(in);
    FUZZ_REQUIRE(settings.checkValue == 0 || settings.checkValue == 1);
    FUZZ_REQUIRE(settings.dataText.isNull() && settings.fileName.isNull() && settings.filePath.isNull());
    return 0;
}
