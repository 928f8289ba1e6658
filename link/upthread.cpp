#include "upthread.h"

#include "link/readback.h"

namespace {

// Read-back always asks with '{', whatever upload command the settings hold (that one is verify's).
constexpr char readBackCommand = '{';

} // namespace

upThread::upThread(const LinkSettings &settings, const FormValues &current, QObject *parent)
    : TransferThread(settings, parent), current(current) {}

upThread::~upThread() {
    // exchange() works on this class's members: the run must be over before they go.
    stopAndWait();
}

void upThread::exchange() {
    // The reply is taken exactly as it came: repeating the last byte would double the last
    // character of a reply that does not end with a line end.
    const std::optional<QString> reply = fetchReply(readBackCommand, /*repeatLastByte=*/false);
    if (!reply)
        return;
    ReadBack::Result result = ReadBack::parse(reply->toLatin1(), settings, current);
    if (result.error != ReadBack::Error::None)
        return;
    values = std::move(result.values);
    parsed.store(true, std::memory_order_release);
}
