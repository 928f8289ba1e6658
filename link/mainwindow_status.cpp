#include "mainwindow/mainwindow.h"

void MainWindow::allapot() {}
