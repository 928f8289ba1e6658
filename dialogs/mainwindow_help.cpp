#include "mainwindow/mainwindow.h"

void MainWindow::contents() {}

void MainWindow::nevjegy() {}
