#pragma once

#include "link/linksettings.h"
#include "link/serialport.h"

#include <QString>
#include <QThread>

#include <atomic>
#include <optional>

// The worker of a transfer dialog: opens the port, does its exchange, closes the port and ends;
// the dialog learns the result through finished() and succeeded(). Progress goes out as signals
// that the dialog connects, queued, to its progress bar: the worker never touches a widget.
//
// Stopping is cooperative: requestStop() makes the current read or write give up within a short
// slice, the exchange returns, the port is closed in this thread and finished() is emitted as
// usual, with the result left false.
class TransferThread : public QThread {
    Q_OBJECT

public:
    explicit TransferThread(const LinkSettings &settings, QObject *parent = nullptr);
    // Stops a run that is still going and waits for it. A subclass whose own members are used by
    // its exchange calls stopAndWait() in its destructor.
    ~TransferThread() override;

    // The result of the exchange; false until it succeeded. Read it after finished().
    bool succeeded() const { return ok; }

    void requestStop();
    bool stopRequested() const { return stopFlag; }
    // Requests the stop and waits until the run has ended (at once when it never started).
    void stopAndWait();

signals:
    void progressRange(int minimum, int maximum);
    void progressReset();
    void progressValue(int value);

protected:
    // Runs in the worker thread before any progress or port access; false ends the run at once,
    // with the result false.
    virtual bool canStart() { return true; }
    // The exchange itself, in the worker thread. It may return on any path: the port is closed
    // after it.
    virtual void exchange() = 0;

    // Opens settings.port with the given read time-outs.
    bool openPort(quint32 readTotalMultiplier, quint32 readTotalConstant);
    // Reads one byte at a time until a read brings none (the module has fallen silent) or a stop
    // is requested, reporting the length received as progress after each read. Each byte becomes
    // the character of the same Latin-1 code. With repeatLastByte, the last byte received is
    // appended once more after the silence, as the module's original receive loop did; nothing is
    // repeated when no byte came. After a stop the text is incomplete: check stopRequested().
    QString receiveUntilSilence(bool repeatLastByte);
    // The request of read-back and verify: the bar counts received characters up to 748; opens the
    // port with settings.serialTimeout per read, sends '~' and the command, collects the reply
    // (only when the command byte went out) and closes the port. Nothing when the port could not
    // be opened or a stop was requested.
    std::optional<QString> fetchReply(char command, bool repeatLastByte);

    std::atomic_bool ok{false};
    LinkSettings settings;
    SerialPort portHandle;

private:
    void run() final;

    std::atomic_bool stopFlag{false};
    // Set last in run(); read after wait() so that the end of the run is ordered before what
    // follows it in the waiting thread (also for thread checkers that cannot see into Qt).
    std::atomic_bool runEnded{false};
};
