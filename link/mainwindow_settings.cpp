#include "mainwindow/mainwindow.h"

void MainWindow::show_port() {}

void MainWindow::setCheck() {}

void MainWindow::setChks8() {}

void MainWindow::setChks16() {}

void MainWindow::setChks24() {}

void MainWindow::setChks32() {}

void MainWindow::setFixChar() {}

void MainWindow::setAckChar() {}

void MainWindow::setSeparators() {}

void MainWindow::setUploadCommand() {}

void MainWindow::show_info() {}
