#include "fuzzsupport.h"
#include "link/configtext.h"
#include "link/readback.h"
#include "link/verifyreply.h"

extern "C" int LLVMFuzzerInitialize(int *, char ***) {
    silenceQtMessages();
    return 0;
}

// A verify reply of any bytes against a full form: normalising never grows the text beyond the
// reply, and a reply matches only if it holds the composed text.
extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size) {
    static const QString composed = [] {
        FormValues form = FormValues::defaults();
        for (int i = 0; i < FormValues::firstPhoneEdit; ++i)
            if (form.edits[i].isEmpty())
                form.edits[i] = QStringLiteral("1");
        return ConfigText::compose(form, '|', false).text;
    }();
    const QByteArray reply = bytesOf(data, size);
    const QString normalised = normaliseReply(reply);
    FUZZ_REQUIRE(normalised.size() <= reply.size());
    if (verifyReplyMatches(withRepeatedLastByte(reply), composed))
        FUZZ_REQUIRE(normalised.startsWith(composed));
    return 0;
}
