#include "fuzzsupport.h"
#include "link/statusreply.h"

extern "C" int LLVMFuzzerInitialize(int *, char ***) {
    silenceQtMessages();
    return 0;
}

// A status line of any bytes: refused, or read with the signal bar at one of its four values.
extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size) {
    const QByteArray reply = bytesOf(data, size);
    for (char supplyOn : {'1', '0'}) {
        const std::optional<StatusReport> report = parseStatusReply(reply, supplyOn);
        FUZZ_REQUIRE(report.has_value() == (reply.count(' ') >= 6));
        if (report)
            FUZZ_REQUIRE(report->signal == 2 || report->signal == 10 || report->signal == 20 || report->signal == 30);
    }
    return 0;
}
