#pragma once
// Placeholder until the full form is written.
#include <QAction>
#include <QComboBox>
#include <QMainWindow>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>
#include <QStatusBar>

class Ui_MainWindow {
public:
    QAction *actionNew, *actionOpen, *actionSave, *actionExit, *actionPort, *action8bit_sum, *action16bit_sum,
        *actionAbout, *actionReadup, *actionDownload, *action24bit_sum, *action32bit_sum, *actionFix, *actionACK,
        *actionSaveAs, *actionCheck, *actionSeparators, *actionUC, *actionVerify, *actionContents;
    QWidget *centralWidget;
    QComboBox *smskp_combo;
    QPushButton *allapot_gomb, *port_gomb, *download_gomb, *upload_gomb, *verify_gomb;
    QMenuBar *menuBar;
    QMenu *menuCHKS;
    QStatusBar *statusBar;

    void setupUi(QMainWindow *w)
    {
        for (QAction **a : {&actionNew, &actionOpen, &actionSave, &actionExit, &actionPort, &action8bit_sum,
                            &action16bit_sum, &actionAbout, &actionReadup, &actionDownload, &action24bit_sum,
                            &action32bit_sum, &actionFix, &actionACK, &actionSaveAs, &actionCheck, &actionSeparators,
                            &actionUC, &actionVerify, &actionContents})
            *a = new QAction(w);
        centralWidget = new QWidget(w);
        smskp_combo = new QComboBox(centralWidget);
        for (QPushButton **b : {&allapot_gomb, &port_gomb, &download_gomb, &upload_gomb, &verify_gomb})
            *b = new QPushButton(centralWidget);
        w->setCentralWidget(centralWidget);
        menuBar = new QMenuBar(w);
        menuCHKS = new QMenu(menuBar);
        menuCHKS->setEnabled(false);
        w->setMenuBar(menuBar);
        statusBar = new QStatusBar(w);
        w->setStatusBar(statusBar);
    }
};
