#include "configfile/smsfile.h"
#include "fuzzsupport.h"

#include <QTextStream>

extern "C" int LLVMFuzzerInitialize(int *, char ***) {
    silenceQtMessages();
    return 0;
}

// A ".sms" file of any content: the loader reads at most one line more than a file holds, each
// line whole, and either refuses it or yields a whole form; a form it yields is written back and
// read again unchanged.
extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size) {
    QByteArray bytes = bytesOf(data, size);
    QTextStream in(&bytes);
    const QStringList lines = SmsFile::readLines(in);
    FUZZ_REQUIRE(!lines.isEmpty() && lines.size() <= SmsFile::lineCount + 1);
    qsizetype characters = 0;
    for (const QString &line : lines)
        characters += line.size();
    FUZZ_REQUIRE(characters <= qsizetype(size));
    const std::optional<FormValues> values = SmsFile::fromLines(lines);
    FUZZ_REQUIRE(values.has_value() == (lines.size() == SmsFile::lineCount));
    if (!values)
        return 0;
    FUZZ_REQUIRE(values->edits.size() == FormValues::editCount);
    FUZZ_REQUIRE(values->checks.size() == FormValues::checkCount);
    FUZZ_REQUIRE(values->radios.size() == FormValues::radioCount);
    const std::optional<FormValues> again = SmsFile::fromLines(SmsFile::toLines(*values));
    FUZZ_REQUIRE(again && again->edits == values->edits && again->checks == values->checks &&
                 again->radios == values->radios);
    return 0;
}
