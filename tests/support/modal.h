#pragma once

#include <QString>
#include <QStringList>
#include <QTimer>
#include <QWidget>

#include <functional>

class QMessageBox;

// Helpers for tests that drive slots which open modal dialogs and message boxes.
namespace Modal {

// Runs action on the next modal widget that appears (polling the event loop); returns at once.
// The action runs inside that widget's own event loop.
void whenShown(std::function<void(QWidget *)> action, int timeoutMs = 20000);

// Collects the title and text of every QMessageBox that appears and closes it with its default
// (or only) button, until stopped by destruction.
class MessageBoxCatcher {
public:
    MessageBoxCatcher();
    ~MessageBoxCatcher();
    MessageBoxCatcher(const MessageBoxCatcher &) = delete;
    MessageBoxCatcher &operator=(const MessageBoxCatcher &) = delete;

    QStringList titles;
    QStringList texts;
    QList<int> icons;        // QMessageBox::Icon of each box
    int mostShownAtOnce = 0; // the most boxes seen standing at the same time
    // Called with each box as it is seen, before it is closed: the moment to look at the state
    // that the slot showing it has left behind.
    std::function<void(QMessageBox *)> onShown;

private:
    class Watcher;
    Watcher *watcher;
};

// While it lives, rejects at once every dialog of class Dialog that appears under window, and notes
// that one ran: for the cases in which none may.
template <class Dialog> class DialogStopper {
public:
    explicit DialogStopper(QObject *window) {
        QObject::connect(&watch, &QTimer::timeout, [this, window] {
            if (auto *dialog = window->findChild<Dialog *>()) {
                ran = true;
                dialog->reject();
            }
        });
        watch.start(10);
    }

    bool ran = false;

private:
    QTimer watch;
};

} // namespace Modal
