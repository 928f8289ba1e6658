#include "modal.h"

#include <QAbstractButton>
#include <QApplication>
#include <QElapsedTimer>
#include <QMessageBox>
#include <QPushButton>
#include <QTimer>

#include <algorithm>

namespace Modal {

void whenShown(std::function<void(QWidget *)> action, int timeoutMs) {
    auto *timer = new QTimer;
    auto *clock = new QElapsedTimer;
    clock->start();
    timer->setInterval(10);
    QObject::connect(timer, &QTimer::timeout, [timer, clock, action, timeoutMs] {
        QWidget *modal = QApplication::activeModalWidget();
        if (modal && modal->isVisible()) {
            timer->stop();
            timer->deleteLater();
            delete clock;
            action(modal);
        } else if (clock->elapsed() > timeoutMs) {
            timer->stop();
            timer->deleteLater();
            delete clock;
            qWarning("Modal::whenShown: no modal widget appeared");
        }
    });
    timer->start();
}

class MessageBoxCatcher::Watcher : public QObject {
public:
    explicit Watcher(MessageBoxCatcher *owner) : owner(owner) {
        timer.setInterval(10);
        connect(&timer, &QTimer::timeout, this, &Watcher::poll);
        timer.start();
    }

private:
    void poll() {
        const QWidgetList widgets = QApplication::topLevelWidgets();
        int shown = 0;
        for (QWidget *widget : widgets)
            shown += qobject_cast<QMessageBox *>(widget) && widget->isVisible();
        owner->mostShownAtOnce = std::max(owner->mostShownAtOnce, shown);
        for (QWidget *widget : widgets) {
            auto *box = qobject_cast<QMessageBox *>(widget);
            if (!box || !box->isVisible() || box->property("caught").toBool())
                continue;
            box->setProperty("caught", true);
            owner->titles << box->windowTitle();
            owner->texts << box->text();
            owner->icons << int(box->icon());
            if (owner->onShown)
                owner->onShown(box);
            QAbstractButton *button = box->defaultButton();
            if (!button && !box->buttons().isEmpty())
                button = box->buttons().first();
            if (button)
                QMetaObject::invokeMethod(button, &QAbstractButton::click, Qt::QueuedConnection);
            else
                box->done(0);
        }
    }

    MessageBoxCatcher *owner;
    QTimer timer;
};

MessageBoxCatcher::MessageBoxCatcher() : watcher(new Watcher(this)) {}

MessageBoxCatcher::~MessageBoxCatcher() {
    delete watcher;
}

} // namespace Modal
