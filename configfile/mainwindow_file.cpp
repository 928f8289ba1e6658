#include "mainwindow/mainwindow.h"

void MainWindow::newfile() {}

void MainWindow::openfile() {}

void MainWindow::save() {}

void MainWindow::loadSmsFile() {}
