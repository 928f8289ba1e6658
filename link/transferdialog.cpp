#include "transferdialog.h"

#include "link/transferthread.h"
#include "texts/texts.h"

#include <QAbstractButton>
#include <QCloseEvent>
#include <QDialogButtonBox>
#include <QLabel>
#include <QProgressBar>
#include <QTimer>

#include <algorithm>

namespace {

constexpr int selfAcceptMs = 2000;
// How often the bar takes the worker's progress: at 1200 baud, every 30th byte. Each time it moves,
// the bar repaints itself, at about half a millisecond of CPU.
constexpr int progressIntervalMs = 250;

} // namespace

TransferDialog::TransferDialog(QWidget *parent) : QDialog(parent) {}

TransferDialog::~TransferDialog() {
    endWorker();
}

void TransferDialog::startWorker(TransferThread *worker, const FormParts &formParts, const TransferTexts &texts,
                                 bool cancellable) {
    thread = worker;
    parts = formParts;
    successText = QString::fromUtf8(texts.success);
    failureText = QString::fromUtf8(texts.failure);

    QProgressBar *bar = parts.progressBar;
    connect(worker, &TransferThread::progressRange, bar, &QProgressBar::setRange, Qt::QueuedConnection);
    connect(worker, &TransferThread::progressReset, bar, &QProgressBar::reset, Qt::QueuedConnection);
    // A queued value per byte would wake this thread 120 times a second and have the bar work out
    // each time whether to repaint: several times the CPU time of the transfer itself. The worker
    // only leaves its latest value; the bar takes it on a timer and once more at the end.
    connect(
        worker, &TransferThread::progressValue, this, [this](int value) { latestProgress.store(value); },
        Qt::DirectConnection);
    progressTimer = new QTimer(this);
    connect(progressTimer, &QTimer::timeout, this, &TransferDialog::showLatestProgress);
    progressTimer->start(progressIntervalMs);
    // Connected before the start, so that a worker that fails at once is still reported.
    connect(worker, &QThread::finished, this, &TransferDialog::transferComplete, Qt::QueuedConnection);
    if (cancellable) {
        connect(parts.buttonBox, &QDialogButtonBox::clicked, this, [this] {
            if (thread)
                thread->requestStop();
        });
    }
    worker->start(QThread::InheritPriority);
}

void TransferDialog::endWorker() {
    if (progressTimer)
        progressTimer->stop();
    if (!thread)
        return;
    thread->stopAndWait();
    delete thread;
    thread = nullptr;
}

void TransferDialog::closeEvent(QCloseEvent *event) {
    event->ignore();
}

void TransferDialog::done(int result) {
    ended = true;
    if (acceptTimer)
        acceptTimer->stop();
    QDialog::done(result);
}

void TransferDialog::transferComplete() {
    if (progressTimer)
        progressTimer->stop();
    showLatestProgress();
    applyResult();
    if (thread && thread->succeeded()) {
        parts.message->setText(successText);
        // A dialog that the user has already ended is not accepted behind his back.
        if (!ended) {
            acceptTimer = new QTimer(this);
            acceptTimer->setSingleShot(true);
            acceptTimer->setTimerType(Qt::PreciseTimer);
            connect(acceptTimer, &QTimer::timeout, this, &QDialog::accept);
            acceptTimer->start(selfAcceptMs);
        }
    } else {
        parts.message->setText(failureText);
    }
    parts.buttonBox->setStandardButtons(QDialogButtonBox::Ok);
    parts.buttonBox->setEnabled(true);
}

void TransferDialog::showLatestProgress() {
    const int value = latestProgress.load();
    if (value < 0)
        return;
    QProgressBar *bar = parts.progressBar;
    // The values rise one by one, and the bar ignores those beyond its maximum: fed each of them,
    // it would have stopped full.
    const int shown = std::min(value, bar->maximum());
    if (bar->value() != shown)
        bar->setValue(shown);
}
