#include "vthread.h"

#include "link/verifyreply.h"

namespace {

// The bar counts received characters up to a fixed 748; a longer reply leaves it full.
constexpr int progressMaximum = 748;

} // namespace

vThread::vThread(const LinkSettings &settings, bool composed, QObject *parent)
    : TransferThread(settings, parent), composed(composed) {}

void vThread::exchange() {
    emit progressRange(0, progressMaximum);
    emit progressReset();

    if (!openPort(quint32(settings.serialTimeout), 0))
        return;
    portHandle.writeByte('~');
    QString received;
    if (portHandle.writeByte(settings.uploadCommand)) {
        // The comparison expects the module's receive loop, which repeats the last byte.
        received = receiveUntilSilence(/*repeatLastByte=*/true);
    }
    portHandle.close();
    if (stopRequested())
        return;
    ok = verifyReplyMatches(received.toLatin1(), settings.dataText);
}
