#include "vthread.h"

#include "link/verifyreply.h"

vThread::vThread(const LinkSettings &settings, bool composed, QObject *parent)
    : TransferThread(settings, parent), composed(composed) {}

void vThread::exchange() {
    // The comparison expects the module's receive loop, which repeats the last byte.
    const std::optional<QString> reply = fetchReply(settings.uploadCommand, /*repeatLastByte=*/true);
    if (reply)
        ok = verifyReplyMatches(reply->toLatin1(), settings.dataText);
}
