// app/main.cpp as it stands, but it ends as soon as the main window has been shown, reporting
// the time since the runner started it. Keep it in step with app/main.cpp.
#include "shownclock.h"

#include "mainwindow/mainwindow.h"

#include <QApplication>
#include <QFont>
#include <QTimer>

int main(int argc, char *argv[]) {
    QApplication app(argc, argv);
#ifndef Q_OS_WIN
    // The form places its labels at fixed sizes made for an 8-point dialog font; the wider
    // default fonts of Linux desktops would cut many of them off.
    QFont font = QApplication::font();
    font.setFamily(QStringLiteral("DejaVu Sans Condensed"));
    font.setPointSize(8);
    QApplication::setFont(font);
#endif
    MainWindow window;
    window.show();
    QTimer::singleShot(0, &app, [&] {
        ShownClock::printElapsedSince(argc, argv);
        app.quit();
    });
    return app.exec();
}
