#include "verifyreply.h"

#include "link/readback.h"

bool verifyReplyMatches(const QByteArray &receivedWithRepeatedLastByte, const QString &composed) {
    QString reply = normaliseReply(receivedWithRepeatedLastByte);
    reply.chop(4);
    return reply == composed;
}
