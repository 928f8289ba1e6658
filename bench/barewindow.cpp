// The baseline of the start-up benchmark: an empty Qt main window, shown, then the program ends,
// reporting the time since the runner started it.
#include "shownclock.h"

#include <QApplication>
#include <QMainWindow>
#include <QTimer>

int main(int argc, char *argv[]) {
    QApplication app(argc, argv);
    QMainWindow window;
    window.show();
    QTimer::singleShot(0, &app, [&] {
        ShownClock::printElapsedSince(argc, argv);
        app.quit();
    });
    return app.exec();
}
