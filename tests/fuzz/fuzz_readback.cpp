#include "fuzzsupport.h"
#include "link/readback.h"

extern "C" int LLVMFuzzerInitialize(int *, char ***) {
    silenceQtMessages();
    return 0;
}

// A module reply of any bytes. The first byte picks the link settings the reply is read with
// (check on or off, check selector, upload separator), the rest is the reply. A failed read leaves
// the form exactly as it was; a successful one keeps the shape of the form lists.
extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size) {
    if (size == 0)
        return 0;
    static const FormValues form = FormValues::defaults();
    LinkSettings settings;
    const uint8_t selector = data[0];
    settings.checkValue = selector & 1;
    settings.checkSize = char((selector >> 1) & 7) == 7 ? 'X' : char((selector >> 1) & 3);
    settings.uploadSeparator = (selector & 0x10) ? ';' : '|';

    const ReadBack::Result result = ReadBack::parse(bytesOf(data + 1, size - 1), settings, form);
    if (result.error != ReadBack::Error::None) {
        FUZZ_REQUIRE(result.values == form);
        return 0;
    }
    FUZZ_REQUIRE(result.values.edits.size() == FormValues::editCount);
    FUZZ_REQUIRE(result.values.checks.size() == FormValues::checkCount);
    FUZZ_REQUIRE(result.values.radios.size() == FormValues::radioCount);
    FUZZ_REQUIRE(result.values.editNames == form.editNames && result.values.radioNames == form.radioNames);
    return 0;
}
