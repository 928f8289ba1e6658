#include "ui_mainwindow.h"

#include "texts/texts.h"

#include <QBrush>
#include <QIcon>
#include <QKeySequence>
#include <QMetaObject>
#include <QPalette>
#include <QPixmap>
#include <QSizePolicy>
#include <QVariant>

namespace {

template <typename Widget> Widget *create(QWidget *parent, const QString &name, int x, int y, int width, int height) {
    auto *widget = new Widget(parent);
    widget->setObjectName(name);
    widget->setGeometry(QRect(x, y, width, height));
    return widget;
}

template <typename Widget> Widget *create(QWidget *parent, const char *name, int x, int y, int width, int height) {
    return create<Widget>(parent, QString::fromLatin1(name), x, y, width, height);
}

QLabel *makeLabel(QWidget *parent, const char *name, const QRect &geometry) {
    auto *label = new QLabel(parent);
    label->setObjectName(QString::fromLatin1(name));
    label->setGeometry(geometry);
    return label;
}

QLabel *makeLabel(QWidget *parent, const char *name, int x, int y, int width, int height) {
    return makeLabel(parent, name, QRect(x, y, width, height));
}

QFont fixedPitchFont() {
    QFont font;
    font.setFamilies({QStringLiteral("Courier")});
    return font;
}

QFont normalWeightFont() {
    QFont font;
    font.setBold(false);
    font.setWeight(QFont::Normal);
    return font;
}

QFont boldFont() {
    QFont font;
    font.setBold(true);
    font.setWeight(QFont::Bold);
    return font;
}

// The text fields (names, messages, numbers) use the fixed-pitch font.
QLineEdit *textEdit(QWidget *parent, const char *name, int x, int y, int width, int height, int maxLength) {
    auto *edit = create<QLineEdit>(parent, name, x, y, width, height);
    edit->setFont(fixedPitchFont());
    edit->setMaxLength(maxLength);
    return edit;
}

// The numeric fields of the SMS limit and the analog values keep the default font.
QLineEdit *digitEdit(QWidget *parent, const char *name, int x, int y, int width, int height, int maxLength) {
    auto *edit = create<QLineEdit>(parent, name, x, y, width, height);
    edit->setMaxLength(maxLength);
    return edit;
}

QPushButton *pushButton(QWidget *parent, const char *name, int x, int y, int width, int height,
                        const char *styleSheet) {
    auto *button = create<QPushButton>(parent, name, x, y, width, height);
    button->setFont(boldFont());
    button->setAutoFillBackground(false);
    button->setStyleSheet(QString::fromLatin1(styleSheet));
    return button;
}

// A grey indicator lamp of the status panel.
QWidget *lamp(QWidget *parent, const char *name, int y) {
    auto *widget = create<QWidget>(parent, name, 130, y, 16, 16);
    widget->setStyleSheet(QStringLiteral("background-color: rgb(180, 180, 180);"));
    return widget;
}

QButtonGroup *makeButtonGroup(QObject *parent, const QString &name) {
    auto *group = new QButtonGroup(parent);
    group->setObjectName(name);
    return group;
}

QAction *action(QMainWindow *window, const char *name) {
    auto *action = new QAction(window);
    action->setObjectName(QString::fromLatin1(name));
    return action;
}

constexpr int phoneRowY(int row) {
    return 60 + 25 * (row - 1);
}

} // namespace

void Ui_MainWindow::setupUi(QMainWindow *MainWindow) {
    if (MainWindow->objectName().isEmpty())
        MainWindow->setObjectName(QStringLiteral("MainWindow"));
    MainWindow->resize(880, 600);
    MainWindow->setMinimumSize(QSize(880, 600));
    MainWindow->setMaximumSize(QSize(880, 600));
    QPalette palette;
    QBrush enabledText(QColor(0, 111, 0, 255));
    enabledText.setStyle(Qt::SolidPattern);
    palette.setBrush(QPalette::Active, QPalette::Text, enabledText);
    palette.setBrush(QPalette::Inactive, QPalette::Text, enabledText);
    QBrush disabledText(QColor(118, 116, 108, 255));
    disabledText.setStyle(Qt::SolidPattern);
    palette.setBrush(QPalette::Disabled, QPalette::Text, disabledText);
    MainWindow->setPalette(palette);
    QIcon icon;
    icon.addFile(QStringLiteral(":/img/img/icon_download.png"), QSize(), QIcon::Normal, QIcon::Off);
    MainWindow->setWindowIcon(icon);

    actionNew = action(MainWindow, "actionNew");
    actionNew->setEnabled(false);
    actionNew->setVisible(false);
    actionOpen = action(MainWindow, "actionOpen");
    actionSave = action(MainWindow, "actionSave");
    actionExit = action(MainWindow, "actionExit");
    actionPort = action(MainWindow, "actionPort");
    actionBaudrate = action(MainWindow, "actionBaudrate");
    action8bit_sum = action(MainWindow, "action8bit_sum");
    action8bit_sum->setCheckable(true);
    action16bit_sum = action(MainWindow, "action16bit_sum");
    action16bit_sum->setCheckable(true);
    actionContent = action(MainWindow, "actionContent");
    actionAbout = action(MainWindow, "actionAbout");
    actionReadup = action(MainWindow, "actionReadup");
    actionDownload = action(MainWindow, "actionDownload");
    action24bit_sum = action(MainWindow, "action24bit_sum");
    action24bit_sum->setCheckable(true);
    action32bit_sum = action(MainWindow, "action32bit_sum");
    action32bit_sum->setCheckable(true);
    actionFix = action(MainWindow, "actionFix");
    actionFix->setCheckable(true);
    actionACK = action(MainWindow, "actionACK");
    actionACK->setEnabled(false);
    actionSaveAs = action(MainWindow, "actionSaveAs");
    actionSaveAs->setEnabled(false);
    actionSaveAs->setVisible(false);
    actionCheck = action(MainWindow, "actionCheck");
    actionCheck->setCheckable(true);
    actionCheck->setChecked(false);
    actionCheck->setEnabled(false);
    actionSeparators = action(MainWindow, "actionSeparators");
    actionSeparators->setEnabled(false);
    actionUC = action(MainWindow, "actionUC");
    actionUC->setEnabled(false);
    actionVerify = action(MainWindow, "actionVerify");
    actionContents = action(MainWindow, "actionContents");

    centralWidget = new QWidget(MainWindow);
    centralWidget->setObjectName(QStringLiteral("centralWidget"));
    QSizePolicy sizePolicy(QSizePolicy::Preferred, QSizePolicy::Preferred);
    sizePolicy.setHorizontalStretch(0);
    sizePolicy.setVerticalStretch(0);
    sizePolicy.setHeightForWidth(centralWidget->sizePolicy().hasHeightForWidth());
    centralWidget->setSizePolicy(sizePolicy);
    centralWidget->setAutoFillBackground(false);
    pic = makeLabel(centralWidget, "pic", 590, 10, 281, 256);
    pic->setPixmap(QPixmap(QStringLiteral(":/img/img/Tkm_720_logo.PNG")));
    tabWidget = create<QTabWidget>(centralWidget, "tabWidget", 10, 10, 391, 521);

    tab1 = new QWidget();
    tab1->setObjectName(QStringLiteral("tab1"));
    setupGeneralPage();
    setupPhoneNumbers(MainWindow);
    tabWidget->addTab(tab1, QString());

    tab2 = new QWidget();
    tab2->setObjectName(QStringLiteral("tab2"));
    setupAnalogPage();
    tabWidget->addTab(tab2, QString());

    tab3 = new QWidget();
    tab3->setObjectName(QStringLiteral("tab3"));
    setupDigitalPage();
    tabWidget->addTab(tab3, QString());

    tab4 = new QWidget();
    tab4->setObjectName(QStringLiteral("tab4"));
    setupOutputsPage(MainWindow);
    tabWidget->addTab(tab4, QString());
    // The tab widget's stack lowers every page it adds after the first; raise them back so that
    // the pages, and so the radios of tab1 and tab4, are listed in creation order.
    for (QWidget *page : {tab1, tab2, tab3, tab4})
        page->raise();

    setupStatusPanel();
    setupDevicePanel();
    MainWindow->setCentralWidget(centralWidget);

    setupMenus(MainWindow);

    retranslateUi(MainWindow);
    tabWidget->setCurrentIndex(0);
    QMetaObject::connectSlotsByName(MainWindow);
}

void Ui_MainWindow::setupGeneralPage() {
    g_general = create<QGroupBox>(tab1, "g_general", 10, 10, 361, 201);
    smskp = textEdit(g_general, "smskp", 220, 20, 120, 20, 16);
    smskp->setEnabled(false); // until the operator "Other" is chosen
    m_pin = textEdit(g_general, "m_pin", 220, 45, 35, 20, 4);
    m_id = textEdit(g_general, "m_id", 220, 70, 35, 20, 4);
    m_nev = textEdit(g_general, "m_nev", 220, 95, 120, 20, 16);
    visszaallas = textEdit(g_general, "visszaallas", 220, 120, 15, 21, 1);
    rele_time = textEdit(g_general, "rele_time", 220, 145, 35, 20, 4);
    label_4 = makeLabel(g_general, "label_4", 10, 70, 130, 16);
    maxsms = digitEdit(g_general, "maxsms", 220, 170, 26, 20, 2);
    label_2 = makeLabel(g_general, "label_2", 10, 20, 106, 16);
    label_8 = makeLabel(g_general, "label_8", 10, 145, 186, 16);
    label_66 = makeLabel(g_general, "label_66", 10, 170, 186, 16);
    label_17 = makeLabel(g_general, "label_17", 10, 95, 130, 16);
    label_5 = makeLabel(g_general, "label_5", 10, 120, 141, 16);
    label_3 = makeLabel(g_general, "label_3", 10, 45, 130, 16);
    smskp_combo = create<QComboBox>(g_general, "smskp_combo", 130, 20, 81, 22);
    smskp_combo->setFont(normalWeightFont());
}

// The phone rows: the number, six rights check boxes and five output radios per row. Only the
// order within each class is fixed (it is the order of the form lists); the column heads come
// first so that they lie beneath the boxes they touch.
void Ui_MainWindow::setupPhoneNumbers(QMainWindow *MainWindow) {
    g_tel = create<QGroupBox>(tab1, "g_tel", 10, 220, 361, 266);
    QLineEdit **const numbers[] = {&t1, &t2, &t3, &t4, &t5, &t6, &t7, &t8};
    for (int row = 1; row <= 8; ++row) {
        *numbers[row - 1] = create<QLineEdit>(g_tel, QStringLiteral("t%1").arg(row), 10, 55 + 25 * (row - 1), 95, 20);
        (*numbers[row - 1])->setFont(fixedPitchFont());
        (*numbers[row - 1])->setMaxLength(14);
    }

    label_29 = makeLabel(g_tel, "label_29", 25, 30, 71, 16);
    label_27 = makeLabel(g_tel, "label_27", 110, 30, 131, 31);
    label_27->setStyleSheet(QStringLiteral("color: rgb(0, 85, 0);"));
    label_27->setAlignment(Qt::AlignCenter);
    label_27->setWordWrap(true);
    label_28 = makeLabel(g_tel, "label_28", textTable().form.label_28Geometry); // differs per build
    label_28->setStyleSheet(QStringLiteral("color: rgb(0, 0, 127);"));
    label_28->setAlignment(Qt::AlignCenter);
    label_28->setWordWrap(true);

    const auto rightsBox = [this](QCheckBox *&box, const char *name, int x, int row, int height = 16) {
        box = create<QCheckBox>(g_tel, name, x, phoneRowY(row), 16, height);
        box->setChecked(false);
    };
    rightsBox(tc4_7, "tc4_7", 225, 7, 18);
    rightsBox(tc2_8, "tc2_8", 185, 8);
    rightsBox(tc3_4, "tc3_4", 205, 4);
    rightsBox(tc1_1, "tc1_1", 165, 1);
    rightsBox(tc2_2, "tc2_2", 185, 2);
    rightsBox(tc1_6, "tc1_6", 165, 6);
    rightsBox(tc1_5, "tc1_5", 165, 5);
    rightsBox(tc1_3, "tc1_3", 165, 3);
    rightsBox(tc4_8, "tc4_8", 225, 8);
    rightsBox(tc1_7, "tc1_7", 165, 7, 18);
    rightsBox(tc3_2, "tc3_2", 205, 2);
    rightsBox(tc4_1, "tc4_1", 225, 1);
    rightsBox(tc2_3, "tc2_3", 185, 3);
    rightsBox(tc4_6, "tc4_6", 225, 6);
    rightsBox(tc1_4, "tc1_4", 165, 4);
    rightsBox(tc1_8, "tc1_8", 165, 8);
    rightsBox(tc4_5, "tc4_5", 225, 5, 18);
    rightsBox(tc2_5, "tc2_5", 185, 5);
    rightsBox(tc3_7, "tc3_7", 205, 7, 18);
    rightsBox(tc1_2, "tc1_2", 165, 2);
    rightsBox(tc4_3, "tc4_3", 225, 3);
    rightsBox(tc2_6, "tc2_6", 185, 6);
    rightsBox(tc3_8, "tc3_8", 205, 8);
    rightsBox(tc3_1, "tc3_1", 205, 1);
    rightsBox(tc2_1, "tc2_1", 185, 1);
    rightsBox(tc3_3, "tc3_3", 205, 3);
    rightsBox(tc3_6, "tc3_6", 205, 6);
    rightsBox(tc2_7, "tc2_7", 185, 7);
    rightsBox(tc3_5, "tc3_5", 205, 5, 18);
    rightsBox(tc4_4, "tc4_4", 225, 4);
    rightsBox(tc2_4, "tc2_4", 185, 4);
    rightsBox(tc4_2, "tc4_2", 225, 2);
    rightsBox(tc1_9, "tc1_9", 140, 5);
    rightsBox(tc1_10, "tc1_10", 140, 4);
    rightsBox(tc1_11, "tc1_11", 140, 7, 18);
    rightsBox(tc1_12, "tc1_12", 140, 8);
    rightsBox(tc1_13, "tc1_13", 140, 6);
    rightsBox(tc1_14, "tc1_14", 140, 1);
    rightsBox(tc1_15, "tc1_15", 140, 3);
    rightsBox(tc1_16, "tc1_16", 140, 2);
    rightsBox(tc1_17, "tc1_17", 120, 5);
    rightsBox(tc1_18, "tc1_18", 120, 4);
    rightsBox(tc1_19, "tc1_19", 120, 7, 18);
    rightsBox(tc1_20, "tc1_20", 120, 8);
    rightsBox(tc1_21, "tc1_21", 120, 6);
    rightsBox(tc1_22, "tc1_22", 120, 1);
    rightsBox(tc1_23, "tc1_23", 120, 3);
    rightsBox(tc1_24, "tc1_24", 120, 2);

    // rN_M: row N, output M (0 = none). Each row's group is made right after the row's first
    // radio, and every radio joins its group right after it is made.
    const auto phoneRadio = [this, MainWindow](QRadioButton *&radio, int row, int output, QButtonGroup *&group) {
        radio = create<QRadioButton>(g_tel, QStringLiteral("r%1_%2").arg(row).arg(output), 340 - 20 * output,
                                     phoneRowY(row), 16, row == 3 || row == 5 ? 16 : 18);
        radio->setChecked(output == 0);
        if (!group)
            group = makeButtonGroup(MainWindow, QStringLiteral("rg%1").arg(row));
        group->addButton(radio);
    };
    phoneRadio(r1_4, 1, 4, rg1);
    phoneRadio(r7_4, 7, 4, rg7);
    phoneRadio(r4_4, 4, 4, rg4);
    phoneRadio(r7_2, 7, 2, rg7);
    phoneRadio(r6_1, 6, 1, rg6);
    phoneRadio(r1_3, 1, 3, rg1);
    phoneRadio(r5_4, 5, 4, rg5);
    phoneRadio(r2_2, 2, 2, rg2);
    phoneRadio(r6_3, 6, 3, rg6);
    phoneRadio(r8_4, 8, 4, rg8);
    phoneRadio(r2_4, 2, 4, rg2);
    phoneRadio(r4_2, 4, 2, rg4);
    phoneRadio(r1_1, 1, 1, rg1);
    phoneRadio(r8_3, 8, 3, rg8);
    phoneRadio(r6_2, 6, 2, rg6);
    phoneRadio(r3_1, 3, 1, rg3);
    phoneRadio(r2_3, 2, 3, rg2);
    phoneRadio(r8_1, 8, 1, rg8);
    phoneRadio(r3_3, 3, 3, rg3);
    phoneRadio(r5_1, 5, 1, rg5);
    phoneRadio(r4_3, 4, 3, rg4);
    phoneRadio(r6_4, 6, 4, rg6);
    phoneRadio(r1_2, 1, 2, rg1);
    phoneRadio(r7_3, 7, 3, rg7);
    phoneRadio(r7_1, 7, 1, rg7);
    phoneRadio(r3_2, 3, 2, rg3);
    phoneRadio(r5_2, 5, 2, rg5);
    phoneRadio(r5_3, 5, 3, rg5);
    phoneRadio(r8_2, 8, 2, rg8);
    phoneRadio(r3_4, 3, 4, rg3);
    phoneRadio(r2_1, 2, 1, rg2);
    phoneRadio(r4_1, 4, 1, rg4);
    phoneRadio(r1_0, 1, 0, rg1);
    phoneRadio(r4_0, 4, 0, rg4);
    phoneRadio(r2_0, 2, 0, rg2);
    phoneRadio(r7_0, 7, 0, rg7);
    phoneRadio(r8_0, 8, 0, rg8);
    phoneRadio(r6_0, 6, 0, rg6);
    phoneRadio(r3_0, 3, 0, rg3);
    phoneRadio(r5_0, 5, 0, rg5);
}

void Ui_MainWindow::setupAnalogPage() {
    g_analog = create<QGroupBox>(tab2, "g_analog", 10, 10, 311, 421);
    label_62 = makeLabel(g_analog, "label_62", 10, 185, 211, 16);
    label_63 = makeLabel(g_analog, "label_63", 10, 160, 211, 16);
    label_64 = makeLabel(g_analog, "label_64", 10, 330, 211, 16);
    label_65 = makeLabel(g_analog, "label_65", 10, 355, 211, 16);
    abe1_lo = digitEdit(g_analog, "abe1_lo", 255, 185, 15, 20, 1);
    abe1_lo_2 = digitEdit(g_analog, "abe1_lo_2", 280, 185, 15, 20, 1);
    abe1_hi = digitEdit(g_analog, "abe1_hi", 255, 160, 15, 20, 1);
    abe1_hi_2 = digitEdit(g_analog, "abe1_hi_2", 280, 160, 15, 20, 1);
    abe1_x = digitEdit(g_analog, "abe1_x", 250, 210, 21, 20, 2);
    abe1_x->setEnabled(false);
    abe1_x_2 = digitEdit(g_analog, "abe1_x_2", 280, 210, 15, 20, 1);
    abe1_x_2->setEnabled(false);
    abe2_lo = digitEdit(g_analog, "abe2_lo", 260, 355, 15, 20, 1);
    abe2_lo_2 = digitEdit(g_analog, "abe2_lo_2", 285, 355, 15, 20, 1);
    abe2_hi = digitEdit(g_analog, "abe2_hi", 260, 330, 15, 20, 1);
    abe2_hi_2 = digitEdit(g_analog, "abe2_hi_2", 285, 330, 15, 20, 1);
    abe2_x = digitEdit(g_analog, "abe2_x", 255, 380, 21, 20, 2);
    abe2_x->setEnabled(false);
    abe2_x_2 = digitEdit(g_analog, "abe2_x_2", 285, 380, 15, 20, 1);
    abe2_x_2->setEnabled(false);
    abe1_lo_msg = textEdit(g_analog, "abe1_lo_msg", 175, 135, 120, 20, 16);
    abe1_hi_msg = textEdit(g_analog, "abe1_hi_msg", 175, 85, 120, 20, 16);
    abe1_vissza = textEdit(g_analog, "abe1_vissza", 175, 110, 120, 20, 16);
    abe1_vissza->setAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    abe2_lo_msg = textEdit(g_analog, "abe2_lo_msg", 180, 305, 120, 20, 16);
    abe2_hi_msg = textEdit(g_analog, "abe2_hi_msg", 180, 255, 120, 20, 16);
    abe2_hi_msg->setAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    abe2_vissza = textEdit(g_analog, "abe2_vissza", 180, 280, 120, 20, 16);
    abe2_vissza->setAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    label_67 = makeLabel(g_analog, "label_67", 10, 210, 151, 16);
    label_68 = makeLabel(g_analog, "label_68", 10, 380, 141, 16);
    label_42 = makeLabel(g_analog, "label_42", 10, 135, 131, 16);
    label_41 = makeLabel(g_analog, "label_41", 10, 85, 131, 16);
    label_44 = makeLabel(g_analog, "label_44", 10, 255, 131, 16);
    label_43 = makeLabel(g_analog, "label_43", 10, 305, 120, 16);
    label_45 = makeLabel(g_analog, "label_45", 10, 280, 131, 16);
    label_46 = makeLabel(g_analog, "label_46", 10, 110, 131, 16);
    // The decimal commas between the integer and decimal digit of each value.
    label = makeLabel(g_analog, "label", 275, 165, 10, 16);
    label_18 = makeLabel(g_analog, "label_18", 275, 190, 10, 16);
    label_19 = makeLabel(g_analog, "label_19", 275, 215, 10, 16);
    label_19->setEnabled(false);
    label_20 = makeLabel(g_analog, "label_20", 280, 385, 10, 16);
    label_20->setEnabled(false);
    label_21 = makeLabel(g_analog, "label_21", 280, 335, 10, 16);
    label_22 = makeLabel(g_analog, "label_22", 280, 360, 10, 16);
    be_a1_nev = textEdit(g_analog, "be_a1_nev", 175, 20, 120, 20, 16);
    be_a2_nev = textEdit(g_analog, "be_a2_nev", 175, 45, 120, 20, 16);
    label_57 = makeLabel(g_analog, "label_57", 10, 45, 116, 16);
    label_56 = makeLabel(g_analog, "label_56", 10, 20, 111, 16);
}

void Ui_MainWindow::setupDigitalPage() {
    g_be = create<QGroupBox>(tab3, "g_be", 10, 10, 301, 386);
    be1_nev = textEdit(g_be, "be1_nev", 160, 20, 120, 20, 16);
    be2_nev = textEdit(g_be, "be2_nev", 160, 45, 120, 20, 16);
    be3_nev = textEdit(g_be, "be3_nev", 160, 70, 120, 20, 16);
    be4_nev = textEdit(g_be, "be4_nev", 160, 95, 120, 20, 16);
    be1_on_msg = textEdit(g_be, "be1_on_msg", 160, 180, 120, 20, 16);
    be2_on_msg = textEdit(g_be, "be2_on_msg", 160, 205, 120, 20, 16);
    be3_on_msg = textEdit(g_be, "be3_on_msg", 160, 230, 120, 20, 16);
    be4_on_msg = textEdit(g_be, "be4_on_msg", 160, 255, 120, 20, 16);
    be1_off_msg = textEdit(g_be, "be1_off_msg", 160, 280, 120, 20, 16);
    be2_off_msg = textEdit(g_be, "be2_off_msg", 160, 305, 120, 20, 16);
    be2_off_msg->setAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    be3_off_msg = textEdit(g_be, "be3_off_msg", 160, 330, 120, 20, 16);
    be4_off_msg = textEdit(g_be, "be4_off_msg", 160, 355, 120, 20, 16);
    be4_off_msg->setAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    label_6 = makeLabel(g_be, "label_6", 10, 20, 111, 16);
    label_31 = makeLabel(g_be, "label_31", 10, 95, 101, 16);
    label_7 = makeLabel(g_be, "label_7", 10, 45, 101, 16);
    label_32 = makeLabel(g_be, "label_32", 10, 70, 111, 16);
    label_15 = makeLabel(g_be, "label_15", 10, 280, 120, 16);
    label_16 = makeLabel(g_be, "label_16", 10, 305, 120, 16);
    label_35 = makeLabel(g_be, "label_35", 10, 255, 120, 16);
    label_33 = makeLabel(g_be, "label_33", 10, 355, 120, 16);
    label_36 = makeLabel(g_be, "label_36", 10, 330, 120, 16);
    label_34 = makeLabel(g_be, "label_34", 10, 230, 120, 16);
    label_13 = makeLabel(g_be, "label_13", 10, 180, 120, 16);
    label_14 = makeLabel(g_be, "label_14", 10, 205, 120, 16);
}

void Ui_MainWindow::setupOutputsPage(QMainWindow *MainWindow) {
    g_ki = create<QGroupBox>(tab4, "g_ki", 10, 10, 301, 226);
    ki1_on = textEdit(g_ki, "ki1_on", 170, 20, 120, 20, 16);
    ki2_on = textEdit(g_ki, "ki2_on", 170, 45, 120, 20, 16);
    ki3_on = textEdit(g_ki, "ki3_on", 170, 70, 120, 20, 16);
    ki4_on = textEdit(g_ki, "ki4_on", 170, 95, 120, 20, 16);
    ki1_off = textEdit(g_ki, "ki1_off", 170, 120, 120, 20, 16);
    ki2_off = textEdit(g_ki, "ki2_off", 170, 145, 120, 20, 16);
    ki3_off = textEdit(g_ki, "ki3_off", 170, 170, 120, 20, 16);
    ki4_off = textEdit(g_ki, "ki4_off", 170, 195, 120, 20, 16);
    label_37 = makeLabel(g_ki, "label_37", 10, 120, 141, 16);
    label_9 = makeLabel(g_ki, "label_9", 10, 70, 141, 16);
    label_50 = makeLabel(g_ki, "label_50", 10, 20, 141, 16);
    label_30 = makeLabel(g_ki, "label_30", 10, 145, 151, 16);
    label_10 = makeLabel(g_ki, "label_10", 10, 95, 151, 16);
    label_11 = makeLabel(g_ki, "label_11", 10, 170, 141, 16);
    label_38 = makeLabel(g_ki, "label_38", 10, 45, 151, 16);
    label_12 = makeLabel(g_ki, "label_12", 10, 195, 151, 16);

    // Ringing behaviour of output O: bO (monostable, checked) and kO (bistable) form one group.
    g_ki_csengetes = create<QGroupBox>(tab4, "g_ki_csengetes", 10, 250, 301, 126);
    const auto ringingRadio = [this](const char *name, int x, int output) {
        auto *radio = create<QRadioButton>(g_ki_csengetes, name, x, 40 + 20 * (output - 1), 15, 15);
        radio->setChecked(name[0] == 'b');
        return radio;
    };
    label_61 = makeLabel(g_ki_csengetes, "label_61", textTable().form.label_61Geometry); // differs per build
    k1 = ringingRadio("k1", 215, 1);
    buttonGroup = makeButtonGroup(MainWindow, QStringLiteral("buttonGroup"));
    buttonGroup->addButton(k1);
    label_55 = makeLabel(g_ki_csengetes, "label_55", 10, 40, 66, 15);
    b1 = ringingRadio("b1", 150, 1);
    buttonGroup->addButton(b1);
    k2 = ringingRadio("k2", 215, 2);
    buttonGroup_2 = makeButtonGroup(MainWindow, QStringLiteral("buttonGroup_2"));
    buttonGroup_2->addButton(k2);
    label_58 = makeLabel(g_ki_csengetes, "label_58", 10, 60, 66, 15);
    b2 = ringingRadio("b2", 150, 2);
    buttonGroup_2->addButton(b2);
    k3 = ringingRadio("k3", 215, 3);
    buttonGroup_3 = makeButtonGroup(MainWindow, QStringLiteral("buttonGroup_3"));
    buttonGroup_3->addButton(k3);
    b3 = ringingRadio("b3", 150, 3);
    buttonGroup_3->addButton(b3);
    label_59 = makeLabel(g_ki_csengetes, "label_59", 10, 80, 66, 15);
    k4 = ringingRadio("k4", 215, 4);
    buttonGroup_4 = makeButtonGroup(MainWindow, QStringLiteral("buttonGroup_4"));
    buttonGroup_4->addButton(k4);
    label_60 = makeLabel(g_ki_csengetes, "label_60", 10, 100, 66, 15);
    b4 = ringingRadio("b4", 150, 4);
    buttonGroup_4->addButton(b4);
}

void Ui_MainWindow::setupStatusPanel() {
    g_allapot = create<QGroupBox>(centralWidget, "g_allapot", 420, 10, 161, 521);
    // The signal label stands at y 18, under the frame's top line, which the Fusion style draws on
    // rows 18 and 19; its bar keeps its 4 pixels below the label.
    terero = create<QProgressBar>(g_allapot, "terero", 126, 38, 25, 121);
    terero->setStyleSheet(QStringLiteral("QProgressBar::chunk { background-color: #05B8CC; }"));
    terero->setValue(0);
    terero->setTextVisible(false);
    terero->setOrientation(Qt::Vertical);
    l_terero = makeLabel(g_allapot, "l_terero", 120, 18, 41, 16);
    l_terero->setAlignment(Qt::AlignCenter);
    label_24 = makeLabel(g_allapot, "label_24", 10, 170, 71, 16);
    label_25 = makeLabel(g_allapot, "label_25", 10, 190, 71, 16);
    label_26 = makeLabel(g_allapot, "label_26", 10, 330, 71, 16);
    label_39 = makeLabel(g_allapot, "label_39", 10, 350, 71, 16);
    label_48 = makeLabel(g_allapot, "label_48", 10, 430, 81, 16);
    w_be1 = lamp(g_allapot, "w_be1", 170);
    w_be2 = lamp(g_allapot, "w_be2", 190);
    w_ki1 = lamp(g_allapot, "w_ki1", 330);
    w_ki2 = lamp(g_allapot, "w_ki2", 350);
    w_tp = lamp(g_allapot, "w_tp", 430);
    allapot_gomb = pushButton(g_allapot, "allapot_gomb", 10, 470, 141, 41,
                              "color: rgb(255, 255, 255);\nbackground-color: rgb(0, 170, 127);");
    label_51 = makeLabel(g_allapot, "label_51", 10, 210, 71, 16);
    w_be3 = lamp(g_allapot, "w_be3", 210);
    label_52 = makeLabel(g_allapot, "label_52", 10, 230, 71, 16);
    w_be4 = lamp(g_allapot, "w_be4", 230);
    label_53 = makeLabel(g_allapot, "label_53", 10, 270, 71, 16);
    label_54 = makeLabel(g_allapot, "label_54", 10, 290, 71, 16);
    label_69 = makeLabel(g_allapot, "label_69", 10, 370, 71, 16);
    w_ki4 = lamp(g_allapot, "w_ki4", 390);
    label_70 = makeLabel(g_allapot, "label_70", 10, 390, 71, 16);
    w_ki3 = lamp(g_allapot, "w_ki3", 370);
    l_analog1 = makeLabel(g_allapot, "l_analog1", 100, 270, 45, 16);
    l_analog1->setStyleSheet(QStringLiteral("color: rgb(0, 85, 255);"));
    l_analog1->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    l_analog2 = makeLabel(g_allapot, "l_analog2", 100, 290, 45, 16);
    l_analog2->setStyleSheet(QStringLiteral("color: rgb(0, 85, 255);"));
    l_analog2->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    l_ver = makeLabel(g_allapot, "l_ver", 10, 30, 111, 16);
}

void Ui_MainWindow::setupDevicePanel() {
    g_eszkoz = create<QGroupBox>(centralWidget, "g_eszkoz", 590, 280, 281, 251);
    download_gomb = pushButton(g_eszkoz, "download_gomb", 30, 100, 221, 41,
                               "color: rgb(255, 255, 255);\nbackground-color: rgb(255, 204, 85);");
    upload_gomb = pushButton(g_eszkoz, "upload_gomb", 30, 200, 221, 41,
                             "color: rgb(255, 255, 255);\nbackground-color: rgb(74, 119, 136);");
    verify_gomb = pushButton(g_eszkoz, "verify_gomb", 30, 150, 221, 41,
                             "color: rgb(255, 255, 255);\nbackground-color: rgb(128, 204, 211);");
    port_gomb = pushButton(g_eszkoz, "port_gomb", 30, 30, 221, 41,
                           "color: rgb(255, 255, 255); \nbackground-color: rgb(195, 127, 127);");
}

void Ui_MainWindow::setupMenus(QMainWindow *MainWindow) {
    menuBar = new QMenuBar(MainWindow);
    menuBar->setObjectName(QStringLiteral("menuBar"));
    menuBar->setGeometry(QRect(0, 0, 880, 21));
    menuFile = new QMenu(menuBar);
    menuFile->setObjectName(QStringLiteral("menuFile"));
    menuSettings = new QMenu(menuBar);
    menuSettings->setObjectName(QStringLiteral("menuSettings"));
    menuCHKS = new QMenu(menuSettings);
    menuCHKS->setObjectName(QStringLiteral("menuCHKS"));
    menuCHKS->setEnabled(false);
    menuCHKS->setAcceptDrops(true);
    menuHelp = new QMenu(menuBar);
    menuHelp->setObjectName(QStringLiteral("menuHelp"));
    menuDevice = new QMenu(menuBar);
    menuDevice->setObjectName(QStringLiteral("menuDevice"));
    MainWindow->setMenuBar(menuBar);
    statusBar = new QStatusBar(MainWindow);
    statusBar->setObjectName(QStringLiteral("statusBar"));
    MainWindow->setStatusBar(statusBar);

    menuBar->addAction(menuFile->menuAction());
    menuBar->addAction(menuSettings->menuAction());
    menuBar->addAction(menuDevice->menuAction());
    menuBar->addAction(menuHelp->menuAction());
    menuFile->addAction(actionNew);
    menuFile->addAction(actionOpen);
    menuFile->addAction(actionSave);
    menuFile->addAction(actionSaveAs);
    menuFile->addSeparator();
    menuFile->addAction(actionExit);
    menuSettings->addAction(actionPort);
    menuSettings->addAction(actionCheck);
    menuSettings->addAction(menuCHKS->menuAction());
    menuSettings->addAction(actionACK);
    menuSettings->addSeparator();
    menuSettings->addAction(actionSeparators);
    menuSettings->addAction(actionUC);
    menuCHKS->addAction(action8bit_sum);
    menuCHKS->addAction(action16bit_sum);
    menuCHKS->addAction(action24bit_sum);
    menuCHKS->addAction(action32bit_sum);
    menuCHKS->addSeparator();
    menuCHKS->addAction(actionFix);
    menuHelp->addAction(actionContents);
    menuHelp->addAction(actionAbout);
    menuDevice->addAction(actionReadup);
    menuDevice->addSeparator();
    menuDevice->addAction(actionDownload);
    menuDevice->addAction(actionVerify);
}

void Ui_MainWindow::retranslateUi(QMainWindow *MainWindow) {
    const MainFormTexts &t = textTable().form;
    const auto text = [](const char *source) { return uiText("MainWindow", source); };

    MainWindow->setWindowTitle(text(t.windowTitle));

    actionNew->setText(text(t.actionNew));
    actionNew->setShortcut(QKeySequence(text("Ctrl+N")));
    actionOpen->setText(text(t.actionOpen));
    actionOpen->setShortcut(QKeySequence(text("Ctrl+O")));
    actionSave->setText(text(t.actionSave));
    actionSave->setShortcut(QKeySequence(text("Ctrl+S")));
    actionExit->setText(text(t.actionExit));
    actionExit->setShortcut(QKeySequence(text("Ctrl+Q")));
    actionPort->setText(text(t.actionPort));
    actionBaudrate->setText(text(t.actionBaudrate));
    action8bit_sum->setText(text(t.action8bit_sum));
    action16bit_sum->setText(text(t.action16bit_sum));
    actionContent->setText(text(t.actionContent));
    actionAbout->setText(text(t.actionAbout));
    actionReadup->setText(text(t.actionReadup));
    actionReadup->setShortcut(QKeySequence(text("Ctrl+R")));
    actionDownload->setText(text(t.actionDownload));
    actionDownload->setShortcut(QKeySequence(text("Ctrl+D")));
    action24bit_sum->setText(text(t.action24bit_sum));
    action32bit_sum->setText(text(t.action32bit_sum));
    actionFix->setText(text(t.actionFix));
    actionACK->setText(text(t.actionACK));
    actionSaveAs->setText(text(t.actionSaveAs));
    actionCheck->setText(text(t.actionCheck));
    actionSeparators->setText(text(t.actionSeparators));
    actionUC->setText(text(t.actionUC));
    actionVerify->setText(text(t.actionVerify));
    actionVerify->setShortcut(QKeySequence(text("Ctrl+V")));
    actionContents->setText(text(t.actionContents));
    actionContents->setShortcut(QKeySequence(text("F1")));

    pic->setText(QString()); // keeps the pixmap: the text is already empty

    g_general->setTitle(text(t.g_general));
    smskp->setText(text("36309888000"));
    label_4->setText(text(t.label_4));
    label_2->setText(text(t.label_2));
    label_8->setText(text(t.label_8));
    label_66->setText(text(t.label_66));
    label_17->setText(text(t.label_17));
    label_5->setText(text(t.label_5));
    label_3->setText(text(t.label_3));
    smskp_combo->clear();
    smskp_combo->insertItems(0,
                             QStringList{text("T-Mobile"), text("Telenor"), text("Vodafone"), text(t.operatorOther)});

    g_tel->setTitle(text(t.g_tel));
    label_29->setText(text(t.label_29));
    label_27->setText(text(t.label_27));
    label_28->setText(text(t.label_28));
    // The "group" value is the box's phone row and input column (1-4 the inputs, 5 A1, 6 A2).
    const auto rightsBox = [&text](QCheckBox *box, const char *group) {
        box->setText(QString());
        box->setProperty("group", QVariant(text(group)));
    };
    rightsBox(tc4_7, "7.1");
    rightsBox(tc2_8, "8.3");
    rightsBox(tc3_4, "4.2");
    rightsBox(tc1_1, "1.4");
    rightsBox(tc2_2, "2.3");
    rightsBox(tc1_6, "6.4");
    rightsBox(tc1_5, "5.4");
    rightsBox(tc1_3, "3.4");
    rightsBox(tc4_8, "8.1");
    rightsBox(tc1_7, "7.4");
    rightsBox(tc3_2, "2.2");
    rightsBox(tc4_1, "1.1");
    rightsBox(tc2_3, "3.3");
    rightsBox(tc4_6, "6.1");
    rightsBox(tc1_4, "4.4");
    rightsBox(tc1_8, "8.4");
    rightsBox(tc4_5, "5.1");
    rightsBox(tc2_5, "5.3");
    rightsBox(tc3_7, "7.2");
    rightsBox(tc1_2, "2.4");
    rightsBox(tc4_3, "3.1");
    rightsBox(tc2_6, "6.3");
    rightsBox(tc3_8, "8.2");
    rightsBox(tc3_1, "1.2");
    rightsBox(tc2_1, "1.3");
    rightsBox(tc3_3, "3.2");
    rightsBox(tc3_6, "6.2");
    rightsBox(tc2_7, "7.3");
    rightsBox(tc3_5, "5.2");
    rightsBox(tc4_4, "4.1");
    rightsBox(tc2_4, "4.3");
    rightsBox(tc4_2, "2.1");
    rightsBox(tc1_9, "5.5");
    rightsBox(tc1_10, "4.5");
    rightsBox(tc1_11, "7.5");
    rightsBox(tc1_12, "8.5");
    rightsBox(tc1_13, "6.5");
    rightsBox(tc1_14, "1.5");
    rightsBox(tc1_15, "3.5");
    rightsBox(tc1_16, "2.5");
    rightsBox(tc1_17, "5.6");
    rightsBox(tc1_18, "4.6");
    rightsBox(tc1_19, "7.6");
    rightsBox(tc1_20, "8.6");
    rightsBox(tc1_21, "6.6");
    rightsBox(tc1_22, "1.6");
    rightsBox(tc1_23, "3.6");
    rightsBox(tc1_24, "2.6");
    for (QRadioButton *radio : {r1_4, r7_4, r4_4, r7_2, r6_1, r1_3, r5_4, r2_2, r6_3, r8_4, r2_4, r4_2, r1_1, r8_3,
                                r6_2, r3_1, r2_3, r8_1, r3_3, r5_1, r4_3, r6_4, r1_2, r7_3, r7_1, r3_2, r5_2, r5_3,
                                r8_2, r3_4, r2_1, r4_1, r1_0, r4_0, r2_0, r7_0, r8_0, r6_0, r3_0, r5_0})
        radio->setText(QString());
    tabWidget->setTabText(tabWidget->indexOf(tab1), text(t.tab1));

    g_analog->setTitle(text(t.g_analog));
    label_62->setText(text(t.label_62));
    label_63->setText(text(t.label_63));
    label_64->setText(text(t.label_64));
    label_65->setText(text(t.label_65));
    abe1_x->setText(text("10"));
    abe1_x_2->setText(text("0"));
    abe2_x->setText(text("10"));
    abe2_x_2->setText(text("0"));
    label_67->setText(text(t.label_67));
    label_68->setText(text(t.label_68));
    label_42->setText(text(t.label_42));
    label_41->setText(text(t.label_41));
    label_44->setText(text(t.label_44));
    label_43->setText(text(t.label_43));
    label_45->setText(text(t.label_45));
    label_46->setText(text(t.label_46));
    label->setText(text(","));
    label_18->setText(text(","));
    label_19->setText(text(","));
    label_20->setText(text(","));
    label_21->setText(text(","));
    label_22->setText(text(","));
    label_57->setText(text(t.label_57));
    label_56->setText(text(t.label_56));
    tabWidget->setTabText(tabWidget->indexOf(tab2), text(t.tab2));

    g_be->setTitle(text(t.g_be));
    label_6->setText(text(t.label_6));
    label_31->setText(text(t.label_31));
    label_7->setText(text(t.label_7));
    label_32->setText(text(t.label_32));
    label_15->setText(text(t.label_15));
    label_16->setText(text(t.label_16));
    label_35->setText(text(t.label_35));
    label_33->setText(text(t.label_33));
    label_36->setText(text(t.label_36));
    label_34->setText(text(t.label_34));
    label_13->setText(text(t.label_13));
    label_14->setText(text(t.label_14));
    tabWidget->setTabText(tabWidget->indexOf(tab3), text(t.tab3));

    g_ki->setTitle(text(t.g_ki));
    label_37->setText(text(t.label_37));
    label_9->setText(text(t.label_9));
    label_50->setText(text(t.label_50));
    label_30->setText(text(t.label_30));
    label_10->setText(text(t.label_10));
    label_11->setText(text(t.label_11));
    label_38->setText(text(t.label_38));
    label_12->setText(text(t.label_12));
    g_ki_csengetes->setTitle(text(t.g_ki_csengetes));
    label_61->setText(text(t.label_61));
    k1->setText(QString());
    label_55->setText(text(t.label_55));
    b1->setText(QString());
    k2->setText(QString());
    label_58->setText(text(t.label_58));
    b2->setText(QString());
    k3->setText(QString());
    b3->setText(QString());
    label_59->setText(text(t.label_59));
    k4->setText(QString());
    label_60->setText(text(t.label_60));
    b4->setText(QString());
    tabWidget->setTabText(tabWidget->indexOf(tab4), text(t.tab4));

    g_allapot->setTitle(text(t.g_allapot));
    terero->setFormat(text("%p%"));
    l_terero->setText(text(t.l_terero));
    label_24->setText(text(t.label_24));
    label_25->setText(text(t.label_25));
    label_26->setText(text(t.label_26));
    label_39->setText(text(t.label_39));
    label_48->setText(text(t.label_48));
    allapot_gomb->setText(text(t.allapot_gomb));
    label_51->setText(text(t.label_51));
    label_52->setText(text(t.label_52));
    label_53->setText(text(t.label_53));
    label_54->setText(text(t.label_54));
    label_69->setText(text(t.label_69));
    label_70->setText(text(t.label_70));
    l_analog1->setText(text("0.0 V"));
    l_analog2->setText(text("0.0 V"));
    l_ver->setText(text(t.l_ver));

    g_eszkoz->setTitle(text(t.g_eszkoz));
    download_gomb->setText(text(t.download_gomb));
    upload_gomb->setText(text(t.upload_gomb));
    verify_gomb->setText(text(t.verify_gomb));
    port_gomb->setText(text(t.port_gomb));

    menuFile->setTitle(text(t.menuFile));
    menuSettings->setTitle(text(t.menuSettings));
    menuCHKS->setTitle(text(t.menuCHKS));
    menuHelp->setTitle(text(t.menuHelp));
    menuDevice->setTitle(text(t.menuDevice));
}
