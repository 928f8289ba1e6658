#include "mainwindow/mainwindow.h"

void MainWindow::download() {}

void MainWindow::readup() {}

void MainWindow::verify_func() {}
