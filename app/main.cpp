#include "mainwindow/applicationfont.h"
#include "mainwindow/mainwindow.h"

#include <QApplication>

#include <csignal>

int main(int argc, char *argv[]) {
    // A save past the file-size limit (ulimit -f) then fails with EFBIG and is reported, instead
    // of ending the program and losing the form's edits.
    std::signal(SIGXFSZ, SIG_IGN);
    QApplication app(argc, argv);
    useFormFont();
    MainWindow window;
    window.show();
    return app.exec();
}
