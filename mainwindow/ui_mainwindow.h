#pragma once

#include <QAction>
#include <QButtonGroup>
#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QMainWindow>
#include <QMenu>
#include <QMenuBar>
#include <QProgressBar>
#include <QPushButton>
#include <QRadioButton>
#include <QStatusBar>
#include <QTabWidget>
#include <QWidget>

// The main window's form, written by hand: one pointer per object, named by its object name.
// It owns nothing; every object is a child of the main window. The creation order in setupUi()
// is the order in which findChildren() lists the widgets, and so the order of the values in the
// ".sms" file and in the device configuration text: keep it.
class Ui_MainWindow {
public:
    // Actions, in creation order.
    QAction *actionNew = nullptr;
    QAction *actionOpen = nullptr;
    QAction *actionSave = nullptr;
    QAction *actionExit = nullptr;
    QAction *actionPort = nullptr;
    QAction *actionBaudrate = nullptr;
    QAction *action8bit_sum = nullptr;
    QAction *action16bit_sum = nullptr;
    QAction *actionContent = nullptr;
    QAction *actionAbout = nullptr;
    QAction *actionReadup = nullptr;
    QAction *actionDownload = nullptr;
    QAction *action24bit_sum = nullptr;
    QAction *action32bit_sum = nullptr;
    QAction *actionFix = nullptr;
    QAction *actionACK = nullptr;
    QAction *actionSaveAs = nullptr;
    QAction *actionCheck = nullptr;
    QAction *actionSeparators = nullptr;
    QAction *actionUC = nullptr;
    QAction *actionVerify = nullptr;
    QAction *actionContents = nullptr;

    QWidget *centralWidget = nullptr;
    QLabel *pic = nullptr;
    QTabWidget *tabWidget = nullptr;

    // Page "General".
    QWidget *tab1 = nullptr;
    QGroupBox *g_general = nullptr;
    QLineEdit *smskp = nullptr;
    QLineEdit *m_pin = nullptr;
    QLineEdit *m_id = nullptr;
    QLineEdit *m_nev = nullptr;
    QLineEdit *visszaallas = nullptr;
    QLineEdit *rele_time = nullptr;
    QLabel *label_4 = nullptr;
    QLineEdit *maxsms = nullptr;
    QLabel *label_2 = nullptr;
    QLabel *label_8 = nullptr;
    QLabel *label_66 = nullptr;
    QLabel *label_17 = nullptr;
    QLabel *label_5 = nullptr;
    QLabel *label_3 = nullptr;
    QComboBox *smskp_combo = nullptr;

    QGroupBox *g_tel = nullptr;
    QLineEdit *t1 = nullptr;
    QLineEdit *t2 = nullptr;
    QLineEdit *t3 = nullptr;
    QLineEdit *t4 = nullptr;
    QLineEdit *t5 = nullptr;
    QLineEdit *t6 = nullptr;
    QLineEdit *t7 = nullptr;
    QLineEdit *t8 = nullptr;
    QLabel *label_29 = nullptr;
    QLabel *label_27 = nullptr;
    QLabel *label_28 = nullptr;
    // Rights check boxes, in creation order.
    QCheckBox *tc4_7 = nullptr, *tc2_8 = nullptr, *tc3_4 = nullptr, *tc1_1 = nullptr, *tc2_2 = nullptr,
              *tc1_6 = nullptr, *tc1_5 = nullptr, *tc1_3 = nullptr, *tc4_8 = nullptr, *tc1_7 = nullptr,
              *tc3_2 = nullptr, *tc4_1 = nullptr, *tc2_3 = nullptr, *tc4_6 = nullptr, *tc1_4 = nullptr,
              *tc1_8 = nullptr, *tc4_5 = nullptr, *tc2_5 = nullptr, *tc3_7 = nullptr, *tc1_2 = nullptr,
              *tc4_3 = nullptr, *tc2_6 = nullptr, *tc3_8 = nullptr, *tc3_1 = nullptr, *tc2_1 = nullptr,
              *tc3_3 = nullptr, *tc3_6 = nullptr, *tc2_7 = nullptr, *tc3_5 = nullptr, *tc4_4 = nullptr,
              *tc2_4 = nullptr, *tc4_2 = nullptr, *tc1_9 = nullptr, *tc1_10 = nullptr, *tc1_11 = nullptr,
              *tc1_12 = nullptr, *tc1_13 = nullptr, *tc1_14 = nullptr, *tc1_15 = nullptr, *tc1_16 = nullptr,
              *tc1_17 = nullptr, *tc1_18 = nullptr, *tc1_19 = nullptr, *tc1_20 = nullptr, *tc1_21 = nullptr,
              *tc1_22 = nullptr, *tc1_23 = nullptr, *tc1_24 = nullptr;
    // Output radios of the phone rows, in creation order.
    QRadioButton *r1_4 = nullptr, *r7_4 = nullptr, *r4_4 = nullptr, *r7_2 = nullptr, *r6_1 = nullptr, *r1_3 = nullptr,
                 *r5_4 = nullptr, *r2_2 = nullptr, *r6_3 = nullptr, *r8_4 = nullptr, *r2_4 = nullptr, *r4_2 = nullptr,
                 *r1_1 = nullptr, *r8_3 = nullptr, *r6_2 = nullptr, *r3_1 = nullptr, *r2_3 = nullptr, *r8_1 = nullptr,
                 *r3_3 = nullptr, *r5_1 = nullptr, *r4_3 = nullptr, *r6_4 = nullptr, *r1_2 = nullptr, *r7_3 = nullptr,
                 *r7_1 = nullptr, *r3_2 = nullptr, *r5_2 = nullptr, *r5_3 = nullptr, *r8_2 = nullptr, *r3_4 = nullptr,
                 *r2_1 = nullptr, *r4_1 = nullptr, *r1_0 = nullptr, *r4_0 = nullptr, *r2_0 = nullptr, *r7_0 = nullptr,
                 *r8_0 = nullptr, *r6_0 = nullptr, *r3_0 = nullptr, *r5_0 = nullptr;

    // Page "Analog inputs".
    QWidget *tab2 = nullptr;
    QGroupBox *g_analog = nullptr;
    QLabel *label_62 = nullptr;
    QLabel *label_63 = nullptr;
    QLabel *label_64 = nullptr;
    QLabel *label_65 = nullptr;
    QLineEdit *abe1_lo = nullptr;
    QLineEdit *abe1_lo_2 = nullptr;
    QLineEdit *abe1_hi = nullptr;
    QLineEdit *abe1_hi_2 = nullptr;
    QLineEdit *abe1_x = nullptr;
    QLineEdit *abe1_x_2 = nullptr;
    QLineEdit *abe2_lo = nullptr;
    QLineEdit *abe2_lo_2 = nullptr;
    QLineEdit *abe2_hi = nullptr;
    QLineEdit *abe2_hi_2 = nullptr;
    QLineEdit *abe2_x = nullptr;
    QLineEdit *abe2_x_2 = nullptr;
    QLineEdit *abe1_lo_msg = nullptr;
    QLineEdit *abe1_hi_msg = nullptr;
    QLineEdit *abe1_vissza = nullptr;
    QLineEdit *abe2_lo_msg = nullptr;
    QLineEdit *abe2_hi_msg = nullptr;
    QLineEdit *abe2_vissza = nullptr;
    QLabel *label_67 = nullptr;
    QLabel *label_68 = nullptr;
    QLabel *label_42 = nullptr;
    QLabel *label_41 = nullptr;
    QLabel *label_44 = nullptr;
    QLabel *label_43 = nullptr;
    QLabel *label_45 = nullptr;
    QLabel *label_46 = nullptr;
    QLabel *label = nullptr;
    QLabel *label_18 = nullptr;
    QLabel *label_19 = nullptr;
    QLabel *label_20 = nullptr;
    QLabel *label_21 = nullptr;
    QLabel *label_22 = nullptr;
    QLineEdit *be_a1_nev = nullptr;
    QLineEdit *be_a2_nev = nullptr;
    QLabel *label_57 = nullptr;
    QLabel *label_56 = nullptr;

    // Page "Digital inputs".
    QWidget *tab3 = nullptr;
    QGroupBox *g_be = nullptr;
    QLineEdit *be1_nev = nullptr;
    QLineEdit *be2_nev = nullptr;
    QLineEdit *be3_nev = nullptr;
    QLineEdit *be4_nev = nullptr;
    QLineEdit *be1_on_msg = nullptr;
    QLineEdit *be2_on_msg = nullptr;
    QLineEdit *be3_on_msg = nullptr;
    QLineEdit *be4_on_msg = nullptr;
    QLineEdit *be1_off_msg = nullptr;
    QLineEdit *be2_off_msg = nullptr;
    QLineEdit *be3_off_msg = nullptr;
    QLineEdit *be4_off_msg = nullptr;
    QLabel *label_6 = nullptr;
    QLabel *label_31 = nullptr;
    QLabel *label_7 = nullptr;
    QLabel *label_32 = nullptr;
    QLabel *label_15 = nullptr;
    QLabel *label_16 = nullptr;
    QLabel *label_35 = nullptr;
    QLabel *label_33 = nullptr;
    QLabel *label_36 = nullptr;
    QLabel *label_34 = nullptr;
    QLabel *label_13 = nullptr;
    QLabel *label_14 = nullptr;

    // Page "Outputs".
    QWidget *tab4 = nullptr;
    QGroupBox *g_ki = nullptr;
    QLineEdit *ki1_on = nullptr;
    QLineEdit *ki2_on = nullptr;
    QLineEdit *ki3_on = nullptr;
    QLineEdit *ki4_on = nullptr;
    QLineEdit *ki1_off = nullptr;
    QLineEdit *ki2_off = nullptr;
    QLineEdit *ki3_off = nullptr;
    QLineEdit *ki4_off = nullptr;
    QLabel *label_37 = nullptr;
    QLabel *label_9 = nullptr;
    QLabel *label_50 = nullptr;
    QLabel *label_30 = nullptr;
    QLabel *label_10 = nullptr;
    QLabel *label_11 = nullptr;
    QLabel *label_38 = nullptr;
    QLabel *label_12 = nullptr;

    QGroupBox *g_ki_csengetes = nullptr;
    QLabel *label_61 = nullptr;
    QRadioButton *k1 = nullptr;
    QLabel *label_55 = nullptr;
    QRadioButton *b1 = nullptr;
    QRadioButton *k2 = nullptr;
    QLabel *label_58 = nullptr;
    QRadioButton *b2 = nullptr;
    QRadioButton *k3 = nullptr;
    QRadioButton *b3 = nullptr;
    QLabel *label_59 = nullptr;
    QRadioButton *k4 = nullptr;
    QLabel *label_60 = nullptr;
    QRadioButton *b4 = nullptr;

    // Status panel.
    QGroupBox *g_allapot = nullptr;
    QProgressBar *terero = nullptr;
    QLabel *l_terero = nullptr;
    QLabel *label_24 = nullptr;
    QLabel *label_25 = nullptr;
    QLabel *label_26 = nullptr;
    QLabel *label_39 = nullptr;
    QLabel *label_48 = nullptr;
    QWidget *w_be1 = nullptr;
    QWidget *w_be2 = nullptr;
    QWidget *w_ki1 = nullptr;
    QWidget *w_ki2 = nullptr;
    QWidget *w_tp = nullptr;
    QPushButton *allapot_gomb = nullptr;
    QLabel *label_51 = nullptr;
    QWidget *w_be3 = nullptr;
    QLabel *label_52 = nullptr;
    QWidget *w_be4 = nullptr;
    QLabel *label_53 = nullptr;
    QLabel *label_54 = nullptr;
    QLabel *label_69 = nullptr;
    QWidget *w_ki4 = nullptr;
    QLabel *label_70 = nullptr;
    QWidget *w_ki3 = nullptr;
    QLabel *l_analog1 = nullptr;
    QLabel *l_analog2 = nullptr;
    QLabel *l_ver = nullptr;

    // Device buttons.
    QGroupBox *g_eszkoz = nullptr;
    QPushButton *download_gomb = nullptr;
    QPushButton *upload_gomb = nullptr;
    QPushButton *verify_gomb = nullptr;
    QPushButton *port_gomb = nullptr;

    // Button groups (children of the main window), in creation order.
    QButtonGroup *rg1 = nullptr;
    QButtonGroup *rg7 = nullptr;
    QButtonGroup *rg4 = nullptr;
    QButtonGroup *rg6 = nullptr;
    QButtonGroup *rg5 = nullptr;
    QButtonGroup *rg2 = nullptr;
    QButtonGroup *rg8 = nullptr;
    QButtonGroup *rg3 = nullptr;
    QButtonGroup *buttonGroup = nullptr;
    QButtonGroup *buttonGroup_2 = nullptr;
    QButtonGroup *buttonGroup_3 = nullptr;
    QButtonGroup *buttonGroup_4 = nullptr;

    QMenuBar *menuBar = nullptr;
    QMenu *menuFile = nullptr;
    QMenu *menuSettings = nullptr;
    QMenu *menuCHKS = nullptr;
    QMenu *menuHelp = nullptr;
    QMenu *menuDevice = nullptr;
    QStatusBar *statusBar = nullptr;

    // Builds the whole form on the window; called once, by the MainWindow constructor.
    void setupUi(QMainWindow *MainWindow);
    // Applies the build's texts, shortcuts, combo items, default edit texts and "group" values.
    void retranslateUi(QMainWindow *MainWindow);

private:
    void setupGeneralPage();
    void setupPhoneNumbers(QMainWindow *MainWindow);
    void setupAnalogPage();
    void setupDigitalPage();
    void setupOutputsPage(QMainWindow *MainWindow);
    void setupStatusPanel();
    void setupDevicePanel();
    void setupMenus(QMainWindow *MainWindow);
};
