#include "upthread.h"

#include "link/readback.h"

namespace {

// The bar counts received characters up to a fixed 748; a longer reply leaves it full.
constexpr int progressMaximum = 748;
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
    emit progressRange(0, progressMaximum);
    emit progressReset();

    if (!openPort(quint32(settings.serialTimeout), 0))
        return;
    portHandle.writeByte('~');
    QString received;
    if (portHandle.writeByte(readBackCommand)) {
        // The reply is taken exactly as it came: repeating the last byte would double the last
        // character of a reply that does not end with a line end.
        received = receiveUntilSilence(/*repeatLastByte=*/false);
    }
    portHandle.close();
    if (stopRequested())
        return;

    ReadBack::Result result = ReadBack::parse(received.toLatin1(), settings, current);
    if (result.error != ReadBack::Error::None)
        return;
    values = std::move(result.values);
    parsed.store(true, std::memory_order_release);
}
