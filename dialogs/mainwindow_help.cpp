#include "mainwindow/mainwindow.h"

#include "dialogs/about.h"
#include "dialogs/help.h"

// Both windows are modeless; closing one only hides it, and it lives on as a child of the main
// window. Every call opens a further window.
void MainWindow::contents() {
    (new help(this))->show();
}

void MainWindow::nevjegy() {
    (new about(this))->show();
}
