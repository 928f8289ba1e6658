#include "mainwindow/applicationfont.h"
#include "mainwindow/formlists.h"
#include "mainwindow/formvalues.h"
#include "mainwindow/mainwindow.h"
#include "mainwindow/ui_mainwindow.h"
#include "support/buildtexts.h"

#include <QDir>
#include <QFontMetrics>
#include <QGroupBox>
#include <QHash>
#include <QImage>
#include <QSet>
#include <QTabBar>
#include <QTemporaryDir>
#include <QTest>

#include <memory>

namespace {

using BuildTexts::byBuild;
using BuildTexts::hungarian;

// Named objects of the central widget's tree, without the toolkit's own helpers (named "qt_...",
// or the scroll buttons of the tab bar).
QList<QWidget *> formWidgets(QWidget *centralWidget) {
    QList<QWidget *> widgets{centralWidget};
    for (QWidget *widget : centralWidget->findChildren<QWidget *>()) {
        if (!widget->objectName().isEmpty() && !widget->objectName().startsWith(QLatin1String("qt_")) &&
            !qobject_cast<QTabBar *>(widget->parentWidget()))
            widgets << widget;
    }
    return widgets;
}

QStringList namesOf(const QList<QAction *> &actions) {
    QStringList names;
    for (QAction *action : actions) {
        if (action->isSeparator())
            names << QStringLiteral("-");
        else if (action->menu())
            names << action->menu()->objectName();
        else
            names << action->objectName();
    }
    return names;
}

template <typename T> QStringList namesOf(const QList<T *> &objects) {
    QStringList names;
    for (T *object : objects)
        names << object->objectName();
    return names;
}

// The pixel rows and columns on which the style draws a group box's frame, found in a picture of
// the box with its children hidden: the style's own frame rectangle does not say where it draws.
// The rows are read down a column right of the title, the columns along the middle row; a frame
// pixel is neither the colour outside the frame (top right corner) nor the colour inside it.
struct FrameLines {
    QList<int> rows, columns;
};

FrameLines frameLinesOf(QGroupBox *box) {
    QWidgetList hidden;
    for (QWidget *child : box->findChildren<QWidget *>(QString(), Qt::FindDirectChildrenOnly)) {
        if (!child->isHidden()) {
            child->hide();
            hidden << child;
        }
    }
    const QImage picture = box->grab().toImage();
    for (QWidget *child : hidden)
        child->show();

    const QRgb outside = picture.pixel(picture.width() - 1, 0);
    const QRgb inside = picture.pixel(picture.width() / 2, picture.height() / 2);
    const auto isFrame = [&](int x, int y) {
        const QRgb pixel = picture.pixel(x, y);
        return pixel != outside && pixel != inside;
    };
    FrameLines lines;
    for (int y = 0; y < picture.height(); ++y) {
        if (isFrame(picture.width() - 10, y))
            lines.rows << y;
    }
    for (int x = 0; x < picture.width(); ++x) {
        if (isFrame(x, picture.height() / 2))
            lines.columns << x;
    }
    return lines;
}

QString joined(const QList<int> &numbers) {
    QStringList texts;
    for (int number : numbers)
        texts << QString::number(number);
    return texts.join(QLatin1Char(','));
}

} // namespace

class TestMainForm : public QObject {
    Q_OBJECT

    QTemporaryDir workDir;
    std::unique_ptr<MainWindow> window;

    Ui_MainWindow *ui() const { return window->ui; }
    template <typename T = QWidget> T *widget(const QString &name) const { return window->findChild<T *>(name); }

private slots:
    void initTestCase() {
        useFormFont(); // the form is laid out for the program's own font
        // No default configuration file here: the form keeps what it was built with.
        QVERIFY(workDir.isValid());
        QVERIFY(QDir::setCurrent(workDir.path()));
    }

    void init() { window = std::make_unique<MainWindow>(); }
    void cleanup() { window.reset(); }

    void formListsFollowTheFileOrder() {
        const FormLists lists = formLists(ui()->centralWidget);
        QCOMPARE(namesOf(lists.edits), FormLayout::editNames());
        QCOMPARE(namesOf(lists.checks), FormLayout::checkNames());
        QCOMPARE(namesOf(lists.radios), FormLayout::radioNames());
        QCOMPARE(lists.edits.size(), 55);
        QCOMPARE(lists.edits.first(), ui()->smskp);
        QCOMPARE(lists.edits.at(47), ui()->t1); // 48th
        QCOMPARE(lists.checks.first(), ui()->tc4_7);
        QCOMPARE(lists.radios.first(), ui()->r1_4);
        QCOMPARE(lists.radios.at(40), ui()->k1); // 41st
        // As built, a plain search lists the pages' radios in creation order too.
        QCOMPARE(namesOf(ui()->centralWidget->findChildren<QRadioButton *>()), FormLayout::radioNames());
    }

    void formListsDoNotDependOnTheShownPage() {
        window->show();
        QVERIFY(QTest::qWaitForWindowExposed(window.get()));
        for (int page : {3, 0, 2, 1, 0, 3}) {
            ui()->tabWidget->setCurrentIndex(page);
            const FormLists lists = formLists(ui()->centralWidget);
            QCOMPARE(namesOf(lists.edits), FormLayout::editNames());
            QCOMPARE(namesOf(lists.checks), FormLayout::checkNames());
            QCOMPARE(namesOf(lists.radios), FormLayout::radioNames());
        }
    }

    void freshFormHoldsTheDefaults() {
        const FormValues values = readForm(formLists(ui()->centralWidget));
        QCOMPARE(values.editNames, FormValues::defaults().editNames);
        QCOMPARE(values.edits, FormValues::defaults().edits);
        QCOMPARE(values.checkGroups, FormValues::defaults().checkGroups);
        QCOMPARE(values.checks, FormValues::defaults().checks);
        QCOMPARE(values.radios, FormValues::defaults().radios);
        QVERIFY(values == FormValues::defaults());
    }

    void writeFormPutsValuesInListOrder() {
        const FormLists lists = formLists(ui()->centralWidget);
        FormValues values = FormValues::defaults();
        for (int i = 0; i < values.edits.size(); ++i)
            values.edits[i] = QString::number(i % 10);
        values.checks[0] = true;  // tc4_7
        values.checks[47] = true; // tc1_24
        // Row 1 to output 4 and output 1 bistable; r1_0 and b1 come later in the list.
        values.radios[0] = true;
        values.radios[32] = false;
        values.radios[40] = true;
        values.radios[41] = false;
        writeForm(lists, values);

        QCOMPARE(readForm(lists), values);
        QCOMPARE(ui()->t1->text(), QStringLiteral("7"));
        QVERIFY(ui()->tc4_7->isChecked());
        QVERIFY(ui()->tc1_24->isChecked());
        QVERIFY(!ui()->tc1_23->isChecked());
        QVERIFY(ui()->r1_4->isChecked());
        QVERIFY(!ui()->r1_0->isChecked());
        QVERIFY(ui()->k1->isChecked());
        QVERIFY(!ui()->b1->isChecked());
        QVERIFY(ui()->r2_0->isChecked());
    }

    void writeFormCannotUncheckTheCheckedRadio() {
        const FormLists lists = formLists(ui()->centralWidget);
        FormValues values = FormValues::defaults();
        values.radios.fill(false);
        writeForm(lists, values);
        // As the toolkit does: unchecking the checked radio of an exclusive group is refused.
        QCOMPARE(readForm(lists).radios, FormValues::defaults().radios);
    }

    void writeFormCutsTextsToTheMaximumLength() {
        const FormLists lists = formLists(ui()->centralWidget);
        FormValues values = FormValues::defaults();
        values.edits.fill(QStringLiteral("12345678901234567890"));
        writeForm(lists, values);
        QCOMPARE(ui()->t1->text(), QStringLiteral("12345678901234"));
        QCOMPARE(ui()->smskp->text(), QStringLiteral("1234567890123456"));
        QCOMPARE(ui()->maxsms->text(), QStringLiteral("12"));
        QCOMPARE(ui()->visszaallas->text(), QStringLiteral("1"));
        QCOMPARE(ui()->m_pin->text(), QStringLiteral("1234"));
        QCOMPARE(ui()->abe1_x->text(), QStringLiteral("12"));
    }

    void groupGrid_data() {
        QTest::addColumn<int>("row");
        QTest::addColumn<int>("column");
        QTest::addColumn<QString>("box");
        // Row R, columns 1..4 the digital inputs, 5 A1, 6 A2.
        const char *const grid[8][6] = {
            {"tc4_1", "tc3_1", "tc2_1", "tc1_1", "tc1_14", "tc1_22"},
            {"tc4_2", "tc3_2", "tc2_2", "tc1_2", "tc1_16", "tc1_24"},
            {"tc4_3", "tc3_3", "tc2_3", "tc1_3", "tc1_15", "tc1_23"},
            {"tc4_4", "tc3_4", "tc2_4", "tc1_4", "tc1_10", "tc1_18"},
            {"tc4_5", "tc3_5", "tc2_5", "tc1_5", "tc1_9", "tc1_17"},
            {"tc4_6", "tc3_6", "tc2_6", "tc1_6", "tc1_13", "tc1_21"},
            {"tc4_7", "tc3_7", "tc2_7", "tc1_7", "tc1_11", "tc1_19"},
            {"tc4_8", "tc3_8", "tc2_8", "tc1_8", "tc1_12", "tc1_20"},
        };
        for (int row = 1; row <= 8; ++row) {
            for (int column = 1; column <= 6; ++column) {
                QTest::addRow("%d.%d", row, column) << row << column << QString::fromLatin1(grid[row - 1][column - 1]);
            }
        }
    }

    void groupGrid() {
        QFETCH(int, row);
        QFETCH(int, column);
        QFETCH(QString, box);
        const QString group = QStringLiteral("%1.%2").arg(row).arg(column);
        QList<QCheckBox *> matches;
        for (QCheckBox *check : ui()->centralWidget->findChildren<QCheckBox *>()) {
            if (check->property("group").toString() == group)
                matches << check;
        }
        QCOMPARE(matches.size(), 1);
        QCOMPARE(matches.first()->objectName(), box);
        QCOMPARE(matches.first()->property("group").typeId(), QMetaType::QString);
        // The box stands in its phone number's row and under its column head.
        static const int columnX[] = {225, 205, 185, 165, 140, 120};
        QCOMPARE(matches.first()->x(), columnX[column - 1]);
        QCOMPARE(matches.first()->y(), 60 + 25 * (row - 1));
        QCOMPARE(widget<QLineEdit>(QStringLiteral("t%1").arg(row))->y(), 55 + 25 * (row - 1));
    }

    void groupValuesMatchTheSharedLayout() {
        QCOMPARE(readForm(formLists(ui()->centralWidget)).checkGroups, FormLayout::checkGroups());
    }

    void objectInventory() {
        const QList<QWidget *> widgets = formWidgets(ui()->centralWidget);
        QMap<QString, int> byClass;
        QSet<QString> names;
        for (QWidget *w : widgets) {
            ++byClass[QString::fromLatin1(w->metaObject()->className())];
            names << w->objectName();
        }
        QCOMPARE(widgets.size(), 252);
        QCOMPARE(names.size(), 252);
        QCOMPARE(byClass.value("QLineEdit"), 55);
        QCOMPARE(byClass.value("QCheckBox"), 48);
        QCOMPARE(byClass.value("QRadioButton"), 48);
        QCOMPARE(byClass.value("QLabel"), 71);
        QCOMPARE(byClass.value("QWidget"), 14);
        QCOMPARE(byClass.value("QGroupBox"), 8);
        QCOMPARE(byClass.value("QPushButton"), 5);
        QCOMPARE(byClass.value("QComboBox"), 1);
        QCOMPARE(byClass.value("QTabWidget"), 1);
        QCOMPARE(byClass.value("QProgressBar"), 1);

        QCOMPARE(namesOf(ui()->centralWidget->findChildren<QWidget *>(Qt::FindDirectChildrenOnly)),
                 QStringList({"pic", "tabWidget", "g_allapot", "g_eszkoz"}));
        QCOMPARE(ui()->tabWidget->count(), 4);
        const QStringList pages{"tab1", "tab2", "tab3", "tab4"};
        const QList<QStringList> boxes{{"g_general", "g_tel"}, {"g_analog"}, {"g_be"}, {"g_ki", "g_ki_csengetes"}};
        for (int i = 0; i < 4; ++i) {
            QCOMPARE(ui()->tabWidget->widget(i)->objectName(), pages[i]);
            QCOMPARE(namesOf(ui()->tabWidget->widget(i)->findChildren<QGroupBox *>(Qt::FindDirectChildrenOnly)),
                     boxes[i]);
        }
    }

    void actionsInCreationOrder() {
        QCOMPARE(namesOf(window->findChildren<QAction *>(Qt::FindDirectChildrenOnly)),
                 QStringList({"actionNew",      "actionOpen",     "actionSave",      "actionExit",       "actionPort",
                              "actionBaudrate", "action8bit_sum", "action16bit_sum", "actionContent",    "actionAbout",
                              "actionReadup",   "actionDownload", "action24bit_sum", "action32bit_sum",  "actionFix",
                              "actionACK",      "actionSaveAs",   "actionCheck",     "actionSeparators", "actionUC",
                              "actionVerify",   "actionContents"}));
    }

    void buttonGroups() {
        const QList<QButtonGroup *> groups = window->findChildren<QButtonGroup *>(Qt::FindDirectChildrenOnly);
        QCOMPARE(namesOf(groups), QStringList({"rg1", "rg7", "rg4", "rg6", "rg5", "rg2", "rg8", "rg3", "buttonGroup",
                                               "buttonGroup_2", "buttonGroup_3", "buttonGroup_4"}));
        QVERIFY(ui()->centralWidget->findChildren<QButtonGroup *>().isEmpty());
        const QMap<QString, QStringList> members{
            {"rg1", {"r1_4", "r1_3", "r1_1", "r1_2", "r1_0"}},
            {"rg2", {"r2_2", "r2_4", "r2_3", "r2_1", "r2_0"}},
            {"rg3", {"r3_1", "r3_3", "r3_2", "r3_4", "r3_0"}},
            {"rg4", {"r4_4", "r4_2", "r4_3", "r4_1", "r4_0"}},
            {"rg5", {"r5_4", "r5_1", "r5_2", "r5_3", "r5_0"}},
            {"rg6", {"r6_1", "r6_3", "r6_2", "r6_4", "r6_0"}},
            {"rg7", {"r7_4", "r7_2", "r7_3", "r7_1", "r7_0"}},
            {"rg8", {"r8_4", "r8_3", "r8_1", "r8_2", "r8_0"}},
            {"buttonGroup", {"k1", "b1"}},
            {"buttonGroup_2", {"k2", "b2"}},
            {"buttonGroup_3", {"k3", "b3"}},
            {"buttonGroup_4", {"k4", "b4"}},
        };
        for (QButtonGroup *group : groups) {
            QVERIFY(group->exclusive());
            QCOMPARE(namesOf(group->buttons()), members.value(group->objectName()));
        }
        QCOMPARE(ui()->rg5, widget<QRadioButton>("r5_3")->group());
        QCOMPARE(ui()->buttonGroup_3, ui()->k3->group());
    }

    void geometry_data() {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("parent");
        QTest::addColumn<QRect>("geometry");
        QTest::addColumn<int>("maxLength"); // -1: not a line edit

        QTest::newRow("pic") << "pic"
                             << "centralWidget" << QRect(590, 10, 281, 256) << -1;
        QTest::newRow("tabWidget") << "tabWidget"
                                   << "centralWidget" << QRect(10, 10, 391, 521) << -1;
        QTest::newRow("g_allapot") << "g_allapot"
                                   << "centralWidget" << QRect(420, 10, 161, 521) << -1;
        QTest::newRow("g_eszkoz") << "g_eszkoz"
                                  << "centralWidget" << QRect(590, 280, 281, 251) << -1;
        QTest::newRow("g_general") << "g_general"
                                   << "tab1" << QRect(10, 10, 361, 201) << -1;
        QTest::newRow("g_tel") << "g_tel"
                               << "tab1" << QRect(10, 220, 361, 266) << -1;
        QTest::newRow("g_analog") << "g_analog"
                                  << "tab2" << QRect(10, 10, 311, 421) << -1;
        QTest::newRow("g_be") << "g_be"
                              << "tab3" << QRect(10, 10, 301, 386) << -1;
        QTest::newRow("g_ki") << "g_ki"
                              << "tab4" << QRect(10, 10, 301, 226) << -1;
        QTest::newRow("g_ki_csengetes") << "g_ki_csengetes"
                                        << "tab4" << QRect(10, 250, 301, 126) << -1;
        QTest::newRow("smskp") << "smskp"
                               << "g_general" << QRect(220, 20, 120, 20) << 16;
        QTest::newRow("m_pin") << "m_pin"
                               << "g_general" << QRect(220, 45, 35, 20) << 4;
        QTest::newRow("m_id") << "m_id"
                              << "g_general" << QRect(220, 70, 35, 20) << 4;
        QTest::newRow("m_nev") << "m_nev"
                               << "g_general" << QRect(220, 95, 120, 20) << 16;
        QTest::newRow("visszaallas") << "visszaallas"
                                     << "g_general" << QRect(220, 120, 15, 21) << 1;
        QTest::newRow("rele_time") << "rele_time"
                                   << "g_general" << QRect(220, 145, 35, 20) << 4;
        QTest::newRow("maxsms") << "maxsms"
                                << "g_general" << QRect(220, 170, 26, 20) << 2;
        QTest::newRow("smskp_combo") << "smskp_combo"
                                     << "g_general" << QRect(130, 20, 81, 22) << -1;
        QTest::newRow("t8") << "t8"
                            << "g_tel" << QRect(10, 230, 95, 20) << 14;
        QTest::newRow("tc4_7") << "tc4_7"
                               << "g_tel" << QRect(225, 210, 16, 18) << -1;
        QTest::newRow("tc1_19") << "tc1_19"
                                << "g_tel" << QRect(120, 210, 16, 18) << -1;
        QTest::newRow("tc1_22") << "tc1_22"
                                << "g_tel" << QRect(120, 60, 16, 16) << -1;
        QTest::newRow("r1_4") << "r1_4"
                              << "g_tel" << QRect(260, 60, 16, 18) << -1;
        QTest::newRow("r3_2") << "r3_2"
                              << "g_tel" << QRect(300, 110, 16, 16) << -1;
        QTest::newRow("r5_0") << "r5_0"
                              << "g_tel" << QRect(340, 160, 16, 16) << -1;
        QTest::newRow("r8_1") << "r8_1"
                              << "g_tel" << QRect(320, 235, 16, 18) << -1;
        QTest::newRow("label_27") << "label_27"
                                  << "g_tel" << QRect(110, 30, 131, 31) << -1;
        QTest::newRow("label_28") << "label_28"
                                  << "g_tel" << (hungarian ? QRect(250, 20, 106, 36) : QRect(250, 25, 106, 36)) << -1;
        QTest::newRow("abe1_lo") << "abe1_lo"
                                 << "g_analog" << QRect(255, 185, 15, 20) << 1;
        QTest::newRow("abe1_x") << "abe1_x"
                                << "g_analog" << QRect(250, 210, 21, 20) << 2;
        QTest::newRow("abe2_x_2") << "abe2_x_2"
                                  << "g_analog" << QRect(285, 380, 15, 20) << 1;
        QTest::newRow("abe2_hi_msg") << "abe2_hi_msg"
                                     << "g_analog" << QRect(180, 255, 120, 20) << 16;
        QTest::newRow("be_a2_nev") << "be_a2_nev"
                                   << "g_analog" << QRect(175, 45, 120, 20) << 16;
        QTest::newRow("label_19") << "label_19"
                                  << "g_analog" << QRect(275, 215, 10, 16) << -1;
        QTest::newRow("label_63") << "label_63"
                                  << "g_analog" << QRect(10, 160, 211, 16) << -1;
        QTest::newRow("be3_on_msg") << "be3_on_msg"
                                    << "g_be" << QRect(160, 230, 120, 20) << 16;
        QTest::newRow("be4_off_msg") << "be4_off_msg"
                                     << "g_be" << QRect(160, 355, 120, 20) << 16;
        QTest::newRow("ki2_off") << "ki2_off"
                                 << "g_ki" << QRect(170, 145, 120, 20) << 16;
        QTest::newRow("k4") << "k4"
                            << "g_ki_csengetes" << QRect(215, 100, 15, 15) << -1;
        QTest::newRow("b1") << "b1"
                            << "g_ki_csengetes" << QRect(150, 40, 15, 15) << -1;
        QTest::newRow("label_61") << "label_61"
                                  << "g_ki_csengetes" << (hungarian ? QRect(135, 20, 106, 16) : QRect(135, 20, 121, 16))
                                  << -1;
        // The signal label and bar stand below the frame line that the Fusion style draws.
        QTest::newRow("terero") << "terero"
                                << "g_allapot" << QRect(126, 38, 25, 121) << -1;
        QTest::newRow("l_terero") << "l_terero"
                                  << "g_allapot" << QRect(120, 18, 41, 16) << -1;
        QTest::newRow("l_ver") << "l_ver"
                               << "g_allapot" << QRect(10, 30, 111, 16) << -1;
        QTest::newRow("w_ki3") << "w_ki3"
                               << "g_allapot" << QRect(130, 370, 16, 16) << -1;
        QTest::newRow("w_tp") << "w_tp"
                              << "g_allapot" << QRect(130, 430, 16, 16) << -1;
        QTest::newRow("l_analog2") << "l_analog2"
                                   << "g_allapot" << QRect(100, 290, 45, 16) << -1;
        QTest::newRow("allapot_gomb") << "allapot_gomb"
                                      << "g_allapot" << QRect(10, 470, 141, 41) << -1;
        QTest::newRow("port_gomb") << "port_gomb"
                                   << "g_eszkoz" << QRect(30, 30, 221, 41) << -1;
        QTest::newRow("upload_gomb") << "upload_gomb"
                                     << "g_eszkoz" << QRect(30, 200, 221, 41) << -1;
    }

    void geometry() {
        QFETCH(QString, name);
        QFETCH(QString, parent);
        QFETCH(QRect, geometry);
        QFETCH(int, maxLength);
        QWidget *w = widget(name);
        QVERIFY(w);
        QCOMPARE(w->parentWidget()->objectName(), parent);
        QCOMPARE(w->geometry(), geometry);
        if (maxLength >= 0)
            QCOMPARE(qobject_cast<QLineEdit *>(w)->maxLength(), maxLength);
    }

    void fonts() {
        const QStringList defaultFontEdits{"maxsms",    "abe1_lo",  "abe1_lo_2", "abe1_hi",   "abe1_hi_2",
                                           "abe1_x",    "abe1_x_2", "abe2_lo",   "abe2_lo_2", "abe2_hi",
                                           "abe2_hi_2", "abe2_x",   "abe2_x_2"};
        int fixedPitch = 0;
        for (QLineEdit *edit : ui()->centralWidget->findChildren<QLineEdit *>()) {
            const bool courier = edit->font().family() == QLatin1String("Courier");
            QVERIFY2(courier != defaultFontEdits.contains(edit->objectName()), qPrintable(edit->objectName()));
            fixedPitch += courier;
        }
        QCOMPARE(fixedPitch, 42);
        for (QPushButton *button : ui()->centralWidget->findChildren<QPushButton *>())
            QVERIFY2(button->font().bold(), qPrintable(button->objectName()));
        QVERIFY(!ui()->smskp_combo->font().bold());
        QCOMPARE(ui()->smskp_combo->font().weight(), QFont::Normal);
        QVERIFY(!ui()->label_2->font().bold());
    }

    void fixedSizeWidgetsShowTheirWholeText() {
        // Measured as shown: polishing applies the style sheets to the pages not on top too.
        window->show();
        QVERIFY(QTest::qWaitForWindowExposed(window.get()));
        window->ensurePolished();
        QStringList cut;
        QHash<QGroupBox *, FrameLines> frames;
        for (QLabel *label : ui()->centralWidget->findChildren<QLabel *>()) {
            if (label->text().isEmpty())
                continue;
            // As the label draws it: its alignment, wrapped at its width if it wraps.
            const QRect room = label->contentsRect();
            const int flags = int(label->alignment()) | (label->wordWrap() ? Qt::TextWordWrap : 0);
            const QRect needed = QFontMetrics(label->font()).boundingRect(room, flags, label->text());
            if (!room.contains(needed))
                cut << QStringLiteral("%1 needs %2x%3 in %4x%5")
                           .arg(label->objectName())
                           .arg(needed.width())
                           .arg(needed.height())
                           .arg(room.width())
                           .arg(room.height());

            // No frame line of the label's group box runs through its text.
            auto *box = qobject_cast<QGroupBox *>(label->parentWidget());
            if (!box)
                continue;
            if (!frames.contains(box)) {
                frames.insert(box, frameLinesOf(box));
                QVERIFY2(!frames[box].rows.isEmpty() && !frames[box].columns.isEmpty(), qPrintable(box->objectName()));
            }
            const FrameLines &frame = frames[box];
            const QRect text = needed.translated(label->pos());
            QList<int> crossing;
            for (int row : frame.rows) {
                if (row >= text.top() && row <= text.bottom())
                    crossing << row;
            }
            for (int column : frame.columns) {
                if (column >= text.left() && column <= text.right())
                    crossing << column;
            }
            if (!crossing.isEmpty())
                cut << QStringLiteral("%1 (text at rows %2-%3, columns %4-%5) is crossed by the frame of %6 (rows %7, "
                                      "columns %8)")
                           .arg(label->objectName())
                           .arg(text.top())
                           .arg(text.bottom())
                           .arg(text.left())
                           .arg(text.right())
                           .arg(box->objectName(), joined(frame.rows), joined(frame.columns));
        }
        for (QAbstractButton *button : ui()->centralWidget->findChildren<QAbstractButton *>()) {
            if (!button->text().isEmpty() && button->sizeHint().width() > button->width())
                cut << QStringLiteral("%1 needs width %2 in %3")
                           .arg(button->objectName())
                           .arg(button->sizeHint().width())
                           .arg(button->width());
        }
        QVERIFY2(cut.isEmpty(), qPrintable(cut.join(QLatin1String("; "))));
    }

    void paletteAndStyleSheets() {
        const QPalette palette = window->palette();
        QCOMPARE(palette.color(QPalette::Active, QPalette::Text), QColor(0, 111, 0));
        QCOMPARE(palette.color(QPalette::Inactive, QPalette::Text), QColor(0, 111, 0));
        QCOMPARE(palette.color(QPalette::Disabled, QPalette::Text), QColor(118, 116, 108));
        QCOMPARE(ui()->t1->palette().color(QPalette::Active, QPalette::Text), QColor(0, 111, 0));
        QCOMPARE(ui()->smskp->palette().color(QPalette::Disabled, QPalette::Text), QColor(118, 116, 108));
        QCOMPARE(ui()->port_gomb->styleSheet(),
                 QStringLiteral("color: rgb(255, 255, 255); \nbackground-color: rgb(195, 127, 127);"));
        QCOMPARE(ui()->allapot_gomb->styleSheet(),
                 QStringLiteral("color: rgb(255, 255, 255);\nbackground-color: rgb(0, 170, 127);"));
        QCOMPARE(ui()->w_be3->styleSheet(), QStringLiteral("background-color: rgb(180, 180, 180);"));
        QCOMPARE(ui()->terero->orientation(), Qt::Vertical);
        QVERIFY(!ui()->terero->isTextVisible());
        QCOMPARE(ui()->terero->value(), 0);
        QCOMPARE(ui()->terero->maximum(), 100);
    }

    void defaultStates() {
        QSet<QString> checkedRadios;
        for (QRadioButton *radio : ui()->centralWidget->findChildren<QRadioButton *>()) {
            if (radio->isChecked())
                checkedRadios << radio->objectName();
        }
        QCOMPARE(checkedRadios, QSet<QString>({"r1_0", "r2_0", "r3_0", "r4_0", "r5_0", "r6_0", "r7_0", "r8_0", "b1",
                                               "b2", "b3", "b4"}));

        QSet<QString> disabled;
        for (QWidget *w : formWidgets(ui()->centralWidget)) {
            if (!w->isEnabled())
                disabled << w->objectName();
        }
        QCOMPARE(disabled,
                 QSet<QString>({"smskp", "abe1_x", "abe1_x_2", "abe2_x", "abe2_x_2", "label_19", "label_20"}));
        QVERIFY(!ui()->menuCHKS->isEnabled());
        QVERIFY(!ui()->menuCHKS->menuAction()->isEnabled());

        for (QAction *action : {ui()->actionNew, ui()->actionSaveAs}) {
            QVERIFY(!action->isVisible());
            QVERIFY(!action->isEnabled());
        }
        for (QAction *action : {ui()->actionCheck, ui()->actionACK, ui()->actionSeparators, ui()->actionUC})
            QVERIFY2(!action->isEnabled(), qPrintable(action->objectName()));
        QSet<QString> checkable, checked;
        for (QAction *action : window->findChildren<QAction *>(Qt::FindDirectChildrenOnly)) {
            if (action->isCheckable())
                checkable << action->objectName();
            if (action->isChecked())
                checked << action->objectName();
        }
        QCOMPARE(checkable, QSet<QString>({"action8bit_sum", "action16bit_sum", "action24bit_sum", "action32bit_sum",
                                           "actionFix", "actionCheck"}));
        QCOMPARE(checked, QSet<QString>({"action8bit_sum"}));

        QCOMPARE(window->size(), QSize(880, 600));
        QCOMPARE(window->minimumSize(), QSize(880, 600));
        QCOMPARE(window->maximumSize(), QSize(880, 600));
        QCOMPARE(ui()->tabWidget->currentIndex(), 0);
        QCOMPARE(ui()->smskp_combo->currentIndex(), 0);
        QCOMPARE(ui()->smskp_combo->currentText(), QStringLiteral("T-Mobile"));
        QVERIFY(!ui()->smskp_combo->isEditable());
        QCOMPARE(ui()->smskp->text(), QStringLiteral("36309888000"));
        QCOMPARE(window->objectName(), QStringLiteral("MainWindow"));
    }

    void typingStopsAtTheMaximumLength_data() {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("expected");
        QTest::newRow("t1") << "t1"
                            << "36301234567890";
        QTest::newRow("maxsms") << "maxsms"
                                << "36";
        QTest::newRow("visszaallas") << "visszaallas"
                                     << "3";
        QTest::newRow("rele_time") << "rele_time"
                                   << "3630";
        QTest::newRow("be1_nev") << "be1_nev"
                                 << "3630123456789012";
    }

    void typingStopsAtTheMaximumLength() {
        QFETCH(QString, name);
        QFETCH(QString, expected);
        auto *edit = widget<QLineEdit>(name);
        QTest::keyClicks(edit, QStringLiteral("36301234567890123456789"));
        QCOMPARE(edit->text(), expected);
    }

    void exclusiveGroups() {
        ui()->r1_3->click();
        QVERIFY(ui()->r1_3->isChecked());
        QVERIFY(!ui()->r1_0->isChecked());
        ui()->r1_3->click(); // clicking the checked radio keeps it
        QVERIFY(ui()->r1_3->isChecked());
        ui()->r1_3->setChecked(false);
        QVERIFY(ui()->r1_3->isChecked());
        ui()->r1_1->click();
        QVERIFY(ui()->r1_1->isChecked());
        QVERIFY(!ui()->r1_3->isChecked());
        for (int row = 2; row <= 8; ++row)
            QVERIFY(widget<QRadioButton>(QStringLiteral("r%1_0").arg(row))->isChecked());

        ui()->k1->click();
        QVERIFY(ui()->k1->isChecked());
        QVERIFY(!ui()->b1->isChecked());
        QVERIFY(ui()->b2->isChecked());
        QVERIFY(ui()->b3->isChecked());
        QVERIFY(ui()->b4->isChecked());
        QVERIFY(ui()->r1_1->isChecked());
        ui()->k1->setChecked(false);
        QVERIFY(ui()->k1->isChecked());

        // Check boxes are independent.
        ui()->tc1_1->click();
        ui()->tc2_1->click();
        QVERIFY(ui()->tc1_1->isChecked());
        QVERIFY(ui()->tc2_1->isChecked());
    }

    void statusBar() {
        QCOMPARE(window->fileLabel->text(), byBuild("No file.", "Nincs megnyitott fájl."));
        QCOMPARE(window->portLabel->text(), QStringLiteral("COM1  Baud: 1200"));
        QVERIFY(!window->makerLabel->text().isEmpty());
        QCOMPARE(window->statusBar(), ui()->statusBar);
        window->show();
        QVERIFY(QTest::qWaitForWindowExposed(window.get()));
        QCOMPARE(window->fileLabel->parentWidget(), ui()->statusBar);
        QVERIFY(window->fileLabel->x() < window->portLabel->x());
        QVERIFY(window->portLabel->x() < window->makerLabel->x());
    }

    void menus() {
        QCOMPARE(window->menuBar(), ui()->menuBar);
        QCOMPARE(ui()->menuBar->geometry().topLeft(), QPoint(0, 0));
        QCOMPARE(namesOf(ui()->menuBar->actions()),
                 QStringList({"menuFile", "menuSettings", "menuDevice", "menuHelp"}));
        QCOMPARE(namesOf(ui()->menuFile->actions()),
                 QStringList({"actionNew", "actionOpen", "actionSave", "actionSaveAs", "-", "actionExit"}));
        QCOMPARE(
            namesOf(ui()->menuSettings->actions()),
            QStringList({"actionPort", "actionCheck", "menuCHKS", "actionACK", "-", "actionSeparators", "actionUC"}));
        QCOMPARE(
            namesOf(ui()->menuCHKS->actions()),
            QStringList({"action8bit_sum", "action16bit_sum", "action24bit_sum", "action32bit_sum", "-", "actionFix"}));
        QCOMPARE(namesOf(ui()->menuDevice->actions()),
                 QStringList({"actionReadup", "-", "actionDownload", "actionVerify"}));
        QCOMPARE(namesOf(ui()->menuHelp->actions()), QStringList({"actionContents", "actionAbout"}));
        QCOMPARE(ui()->menuCHKS->parent(), ui()->menuSettings);
        QVERIFY(ui()->menuCHKS->acceptDrops());
        QVERIFY(ui()->actionBaudrate->associatedObjects().isEmpty());
        QVERIFY(ui()->actionContent->associatedObjects().isEmpty());
    }

    void shortcuts_data() {
        QTest::addColumn<QString>("action");
        QTest::addColumn<QString>("shortcut");
        QTest::newRow("actionNew") << "actionNew"
                                   << "Ctrl+N";
        QTest::newRow("actionOpen") << "actionOpen"
                                    << "Ctrl+O";
        QTest::newRow("actionSave") << "actionSave"
                                    << "Ctrl+S";
        QTest::newRow("actionExit") << "actionExit"
                                    << "Ctrl+Q";
        QTest::newRow("actionReadup") << "actionReadup"
                                      << "Ctrl+R";
        QTest::newRow("actionDownload") << "actionDownload"
                                        << "Ctrl+D";
        QTest::newRow("actionVerify") << "actionVerify"
                                      << "Ctrl+V";
        QTest::newRow("actionContents") << "actionContents"
                                        << "F1";
        for (const char *none : {"actionSaveAs", "actionPort", "actionBaudrate", "action8bit_sum", "actionAbout",
                                 "actionFix", "actionCheck", "actionUC", "actionContent"})
            QTest::newRow(none) << none << "";
    }

    void shortcuts() {
        QFETCH(QString, action);
        QFETCH(QString, shortcut);
        QCOMPARE(window->findChild<QAction *>(action)->shortcut(), QKeySequence(shortcut));
    }

    void icons() {
        QVERIFY(!window->windowIcon().isNull());
        for (QAction *action : {ui()->actionNew, ui()->actionOpen, ui()->actionSave, ui()->actionSaveAs,
                                ui()->actionExit, ui()->actionAbout, ui()->actionReadup, ui()->actionDownload})
            QVERIFY2(!action->icon().isNull(), qPrintable(action->objectName()));
        QVERIFY(ui()->actionPort->icon().isNull());
        QVERIFY(!ui()->pic->pixmap().isNull());
        QVERIFY(ui()->pic->text().isEmpty());
    }

    void texts_data() {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("text");
        const auto row = [](const char *name, const char *english, const char *hungarianText) {
            QTest::newRow(name) << QString::fromLatin1(name) << byBuild(english, hungarianText);
        };
        row("MainWindow", "TKM-730 downloader", "TKM-730 letöltő szoftver");
        row("actionDownload", "Download to device", "Betöltés az eszközbe");
        row("download_gomb", "Downoad to device", "Betöltés az eszközbe");
        row("actionOpen", "Open", "Megnyitás");
        row("actionNew", "New", "New");
        row("actionSaveAs", "Save As", "Save As");
        row("actionBaudrate", "Baudrate", "Baudrate");
        row("actionContent", "Content", "Content");
        row("actionUC", "Upload Command", "Upload Command");
        row("menuDevice", "Device", "Eszköz");
        row("menuSettings", "Settings", "Beállítások");
        row("menuCHKS", "CHKS", "CHKS");
        row("g_eszkoz", "Eszköz", "Eszköz");
        row("g_general", "General", "Általános beállítások");
        row("g_ki_csengetes", "Outputs behaviour at ringing:", "Kimenetek rácsengetés hatására");
        row("tab1", "General", "Általános");
        row("tab2", "Analog inputs", "Analóg bemenetek");
        row("tab3", "Digital inputs", "Digitális bemenetek");
        row("tab4", "Outputs", "Kimenetek");
        row("label_2", "SMS center", "SMS központ száma:");
        row("label_8", "Relay trigger time: (0001-9999 sec)", "Relé meghúzási idő: (0001-9999 sec)");
        row("label_27", "Input alarm\n A2   A1    4     3     2     1",
            "Bemenet riasztás\n A2   A1    4     3     2     1");
        row("label_28", "Output control\n  4     3     2     1    Ø",
            "Kimenet vezérlés\nrácsengetéskor\n  4     3     2     1    Ø");
        row("label_61", "Monostable      Bistable", "Monostabil       Bistabil");
        row("label_63", "A1 input high alert value : (0,1-9,9)", "A1-es bemenet magas riasztás: (0,1-9,9)");
        row("label_64", "A2 input high alert value: (0,1-9,9)", "A2-es bemenet magas riasztás: (0,1-9,9)");
        row("label_68", "A2 maximum voltage:", "A2 max. bemenő feszültség:");
        row("label_32", "3rd input name:", "3-as bemenet neve:");
        row("label_33", "4th input off:", "4-es bemenet kikapcs.:");
        row("label_9", "3rd output on:", "3-as kimenet bekapcsoláskor:");
        row("label_59", "3rd output:", "3-as kimenet:");
        row("label_19", ",", ",");
        row("label_48", "Power:", "Tápfeszültség:");
        row("l_ver", "Version:", "Verzió:");
        row("l_terero", "Signal", "Térerő");
        row("l_analog1", "0.0 V", "0.0 V");
        row("allapot_gomb", "Get Status", "Állapot lekérdezése");
        row("port_gomb", "Set Port", "Port beállítása");
        row("verify_gomb", "Verify download", "Betöltés ellenőrzése");
        row("upload_gomb", "Read from device", "Kiolvasás az eszközből");
        row("abe1_x", "10", "10");
        row("abe2_x_2", "0", "0");
        row("tc1_9", "", "");
        row("r4_2", "", "");
        row("k2", "", "");
    }

    void texts() {
        QFETCH(QString, name);
        QFETCH(QString, text);
        QObject *object = name == QLatin1String("MainWindow") ? window.get() : window->findChild<QObject *>(name);
        QVERIFY(object);
        QString shown;
        if (auto *page = qobject_cast<QWidget *>(object);
            page && page->parentWidget() && page->parentWidget()->parentWidget() == ui()->tabWidget)
            shown = ui()->tabWidget->tabText(ui()->tabWidget->indexOf(page));
        else if (object == window.get())
            shown = window->windowTitle();
        else if (auto *label = qobject_cast<QLabel *>(object))
            shown = label->text();
        else if (auto *button = qobject_cast<QAbstractButton *>(object))
            shown = button->text();
        else if (auto *box = qobject_cast<QGroupBox *>(object))
            shown = box->title();
        else if (auto *menu = qobject_cast<QMenu *>(object))
            shown = menu->title();
        else if (auto *action = qobject_cast<QAction *>(object))
            shown = action->text();
        else if (auto *edit = qobject_cast<QLineEdit *>(object))
            shown = edit->text();
        else
            QFAIL("unexpected class");
        QCOMPARE(shown, text);
    }

    void comboItemsAndFormat() {
        QCOMPARE(ui()->smskp_combo->count(), 4);
        const QStringList items{"T-Mobile", "Telenor", "Vodafone", byBuild("Other", "Egyéni")};
        for (int i = 0; i < 4; ++i)
            QCOMPARE(ui()->smskp_combo->itemText(i), items[i]);
        QCOMPARE(ui()->terero->format(), QStringLiteral("%p%"));
    }

    void columnHeadSpacing() {
        // The column heads line up with the boxes only with these exact runs of blanks.
        QCOMPARE(ui()->label_27->text().section(QLatin1Char('\n'), -1),
                 QStringLiteral(" A2   A1    4     3     2     1"));
        QCOMPARE(ui()->label_28->text().section(QLatin1Char('\n'), -1),
                 QString::fromUtf8("  4     3     2     1    Ø"));
        QCOMPARE(ui()->label_28->text().count(QLatin1Char('\n')), hungarian ? 2 : 1);
        QCOMPARE(ui()->label_61->text().count(QLatin1Char(' ')), hungarian ? 7 : 6);
        QCOMPARE(ui()->label_27->styleSheet(), QStringLiteral("color: rgb(0, 85, 0);"));
        QCOMPARE(ui()->label_28->styleSheet(), QStringLiteral("color: rgb(0, 0, 127);"));
        QVERIFY(ui()->label_28->wordWrap());
        QCOMPARE(ui()->label_28->alignment(), Qt::AlignCenter);
    }
};

QTEST_MAIN(TestMainForm)
#include "tst_mainform.moc"
