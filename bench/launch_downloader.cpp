// app/main.cpp as it stands, but it ends as soon as the main window has been shown, reporting
// the time since the runner started it. Keep it in step with app/main.cpp.
#include "shownclock.h"

#include "mainwindow/applicationfont.h"
#include "mainwindow/mainwindow.h"

#include <QApplication>
#include <QTimer>

int main(int argc, char *argv[]) {
    QApplication app(argc, argv);
    useFormFont();
    MainWindow window;
    window.show();
    QTimer::singleShot(0, &app, [&] {
        ShownClock::printElapsedSince(argc, argv);
        app.quit();
    });
    return app.exec();
}
