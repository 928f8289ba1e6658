#include "transferdialog.h"

#include "link/transferthread.h"
#include "texts/texts.h"

#include <QAbstractButton>
#include <QCloseEvent>
#include <QDialogButtonBox>
#include <QLabel>
#include <QProgressBar>
#include <QTimer>

namespace {

constexpr int selfAcceptMs = 2000;

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
    connect(worker, &TransferThread::progressValue, bar, &QProgressBar::setValue, Qt::QueuedConnection);
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
