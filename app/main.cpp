#include "mainwindow/applicationfont.h"
#include "mainwindow/mainwindow.h"

#include <QApplication>

int main(int argc, char *argv[]) {
    QApplication app(argc, argv);
    useFormFont();
    MainWindow window;
    window.show();
    return app.exec();
}
