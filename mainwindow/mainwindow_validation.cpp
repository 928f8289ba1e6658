#include "mainwindow.h"

void MainWindow::input_check() {}

void MainWindow::smskpSelect() {}
