#include "mainwindow/mainwindow.h"
#include "mainwindow/ui_mainwindow.h"
#include "support/buildtexts.h"
#include "support/modal.h"

#include <QApplication>
#include <QDir>
#include <QLineEdit>
#include <QMenuBar>
#include <QMessageBox>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

#include <memory>

namespace {

using BuildTexts::byBuild;

QString titleText() {
    return BuildTexts::fieldCheckTitle();
}

QString messageFor(const QString &rule) {
    return BuildTexts::fieldCheckMessage(rule);
}

} // namespace

class TestMainWindowValidation : public QObject {
    Q_OBJECT

    std::unique_ptr<QTemporaryDir> workDir;
    std::unique_ptr<MainWindow> window;

    QLineEdit *edit(const QString &name) const { return window->findChild<QLineEdit *>(name); }

    // Brings the tab page holding the widget to the front.
    void showPageOf(QWidget *widget) {
        QWidget *page = widget;
        while (window->ui->tabWidget->indexOf(page) < 0)
            page = page->parentWidget();
        window->ui->tabWidget->setCurrentWidget(page);
    }

    // Whether the keyboard focus is on the widget once the window is active again, as the window
    // system makes it when a box closes (the offscreen platform leaves that to us).
    bool focusSettlesOn(QWidget *widget) {
        window->activateWindow();
        return QTest::qWaitForWindowActive(window.get()) &&
               QTest::qWaitFor([widget] { return QApplication::focusWidget() == widget; }, 2000);
    }

private slots:
    // Each case runs in a fresh, empty working directory, with the window shown and active so that
    // focus changes happen as they do for the user.
    void init() {
        workDir = std::make_unique<QTemporaryDir>();
        QVERIFY(workDir->isValid());
        QVERIFY(QDir::setCurrent(workDir->path()));
        window = std::make_unique<MainWindow>();
        window->show();
        window->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(window.get()));
    }

    void cleanup() {
        window.reset();
        QDir::setCurrent(QDir::tempPath());
        workDir.reset();
    }

    void returnChecksTheForm_data() {
        QTest::addColumn<QStringList>("texts"); // object name, text, object name, text, ...
        QTest::addColumn<QString>("rule");      // empty: passes
        QTest::addColumn<QStringList>("cleared");
        QTest::addColumn<QString>("focused"); // empty: the focus stays where it was

        const auto passes = [](const char *name, QStringList texts) {
            QTest::newRow(name) << texts << QString() << QStringList() << QString();
        };
        const auto fails = [](const char *name, QStringList texts, const char *rule, QStringList cleared,
                              const char *focused) {
            QTest::newRow(name) << texts << QString::fromLatin1(rule) << cleared << QString::fromLatin1(focused);
        };

        passes("numeric with a space", {"m_pin", "12 4"});
        fails("numeric with a letter", {"m_pin", "12a4"}, "numbers", {"m_pin"}, "m_pin");
        fails("numeric with a minus", {"rele_time", "-5"}, "numbers", {"rele_time"}, "rele_time");
        passes("alert value 0,5", {"abe1_lo", "0", "abe1_lo_2", "5"});
        passes("alert value 0 without decimal digit", {"abe1_lo", "0", "abe1_lo_2", ""});
        fails("alert value 0,0", {"abe1_lo", "0", "abe1_lo_2", "0"}, "range", {"abe1_lo", "abe1_lo_2"}, "abe1_lo");
        fails("alert value with a letter", {"abe2_hi", "x"}, "numbers", {"abe2_hi"}, "abe2_hi");
        fails("decimal digit with a letter", {"abe1_lo", "5", "abe1_lo_2", "x"}, "numbers", {"abe1_lo_2"}, "abe1_lo_2");
        passes("text of 7-bit characters", {"m_nev", "Gate 1, ok!"});
        fails("text with an accented letter", {"m_nev", "Kapú"}, "7-bit", {"m_nev"}, "m_nev");
        fails("output text outside Latin-1", {"ki3_off", "Off \u20ac"}, "7-bit", {"ki3_off"}, "ki3_off");
        passes("restore 1", {"visszaallas", "1"});
        fails("restore 2", {"visszaallas", "2"}, "0 or 1", {"visszaallas"}, "visszaallas");
        fails("restore accented", {"visszaallas", "é"}, "7-bit", {"visszaallas"}, "visszaallas");
        passes("phone number with spaces", {"t3", "30 123 4567"});
        fails("phone number with a plus", {"t3", "+3630123"}, "phone", {"t3"}, "t3");
        // Disabled edits hold texts from a file or a read-back; they are checked all the same, but
        // cannot take the focus.
        fails("disabled maximum voltage with a letter", {"abe1_x", "1a"}, "numbers", {"abe1_x"}, "");
        fails("disabled maximum voltage 00,0", {"abe1_x", "00", "abe1_x_2", "0"}, "range", {"abe1_x", "abe1_x_2"}, "");
        passes("disabled maximum voltage 99,9", {"abe2_x", "99", "abe2_x_2", "9"});
    }

    void returnChecksTheForm() {
        QFETCH(QStringList, texts);
        QFETCH(QString, rule);
        QFETCH(QStringList, cleared);
        QFETCH(QString, focused);
        // The user works on the page of the first edit, in another edit there.
        showPageOf(edit(texts.first()));
        QLineEdit *start = nullptr;
        for (QLineEdit *candidate : window->ui->tabWidget->currentWidget()->findChildren<QLineEdit *>()) {
            if (!start && candidate->isEnabled() && !texts.contains(candidate->objectName()))
                start = candidate;
        }
        start->setFocus();
        QVERIFY(focusSettlesOn(start));
        for (int i = 0; i < texts.size(); i += 2)
            edit(texts.at(i))->setText(texts.at(i + 1));

        Modal::MessageBoxCatcher catcher;
        QTest::keyClick(start, Qt::Key_Return);

        QCOMPARE(catcher.texts, rule.isEmpty() ? QStringList() : QStringList(messageFor(rule)));
        if (!rule.isEmpty()) {
            QCOMPARE(catcher.titles, QStringList(titleText()));
            QCOMPARE(catcher.icons, QList<int>{QMessageBox::Warning});
        }
        for (int i = 0; i < texts.size(); i += 2) {
            const QString &name = texts.at(i);
            QCOMPARE(edit(name)->text(), cleared.contains(name) ? QString() : texts.at(i + 1));
        }
        QVERIFY(focusSettlesOn(focused.isEmpty() ? start : edit(focused)));
    }

    // Return in an edit with unfinished changes while another edit is bad: the check moves the
    // focus away from the edit, which comes back into the check before the box is shown. One box.
    void returnInAnEditedEditGivesOneBox() {
        QLineEdit *name = edit(QStringLiteral("m_nev"));
        QTest::mouseClick(name, Qt::LeftButton);
        QVERIFY(focusSettlesOn(name));
        QTest::keyClicks(name, QStringLiteral("Gate"));
        edit(QStringLiteral("m_id"))->setText(QStringLiteral("4x"));

        Modal::MessageBoxCatcher catcher;
        QTest::keyClick(name, Qt::Key_Return);

        QCOMPARE(catcher.texts, QStringList(messageFor(QStringLiteral("numbers"))));
        QVERIFY(edit(QStringLiteral("m_id"))->text().isEmpty());
        QCOMPARE(name->text(), QStringLiteral("Gate"));
        QVERIFY(focusSettlesOn(edit(QStringLiteral("m_id"))));
    }

    // Every focus change out of a line edit checks the whole form, as Return does, whether or not
    // the edit's text changed: one box at a time, the next bad field at the next focus change.
    void focusChangesReportBadFieldsOneAtATime_data() {
        QTest::addColumn<bool>("typed");    // m_pin typed by the user rather than loaded
        QTest::addColumn<QString>("leave"); // how the user first leaves m_pin
        QTest::newRow("loaded, Tab") << false << "Tab";
        QTest::newRow("typed, Tab") << true << "Tab";
        QTest::newRow("loaded, Shift+Tab") << false << "Shift+Tab";
        QTest::newRow("loaded, click on another edit") << false << "click";
        QTest::newRow("typed, click on another edit") << true << "click";
        QTest::newRow("loaded, Return") << false << "Return";
        QTest::newRow("typed, Return") << true << "Return";
        // The menu takes the focus as it opens: the report comes then, and only then.
        QTest::newRow("loaded, menu of the menu bar") << false << "menu";
    }

    void focusChangesReportBadFieldsOneAtATime() {
        QFETCH(bool, typed);
        QFETCH(QString, leave);
        QLineEdit *pin = edit(QStringLiteral("m_pin"));
        QLineEdit *id = edit(QStringLiteral("m_id"));
        QLineEdit *name = edit(QStringLiteral("m_nev"));
        QTest::mouseClick(pin, Qt::LeftButton);
        QVERIFY(focusSettlesOn(pin));
        id->setText(QStringLiteral("x"));
        if (typed)
            QTest::keyClicks(pin, QStringLiteral("12a4"));
        else
            pin->setText(QStringLiteral("12a4"));

        Modal::MessageBoxCatcher catcher;
        if (leave == QLatin1String("menu")) {
            QMenuBar *bar = window->menuBar();
            const QRect title = bar->actionGeometry(window->ui->menuDevice->menuAction());
            QTest::mouseClick(bar, Qt::LeftButton, {}, title.center());
            QCOMPARE(catcher.texts.size(), 1);
            if (QWidget *menu = QApplication::activePopupWidget())
                QTest::keyClick(menu, Qt::Key_Escape);
            QVERIFY(!QApplication::activePopupWidget());
        } else if (leave == QLatin1String("click")) {
            QTest::mouseClick(name, Qt::LeftButton);
        } else if (leave == QLatin1String("Shift+Tab")) {
            QTest::keyClick(pin, Qt::Key_Backtab, Qt::ShiftModifier);
        } else {
            QTest::keyClick(pin, leave == QLatin1String("Tab") ? Qt::Key_Tab : Qt::Key_Return);
        }
        QCOMPARE(catcher.texts, QStringList(messageFor(QStringLiteral("numbers"))));
        QVERIFY(pin->text().isEmpty());
        QCOMPARE(id->text(), QStringLiteral("x"));
        QVERIFY(focusSettlesOn(pin));

        // The technician tabs on from the cleared edit: that focus change reports m_id.
        QTest::keyClick(pin, Qt::Key_Tab);
        QCOMPARE(catcher.texts.size(), 2);
        QVERIFY(id->text().isEmpty());
        QVERIFY(focusSettlesOn(id));

        QTest::keyClick(id, Qt::Key_Tab);
        QVERIFY(focusSettlesOn(name));
        QCOMPARE(catcher.texts.size(), 2);
        QCOMPARE(catcher.mostShownAtOnce, 1);
    }

    void leavingAnEditEndsItsEditing_data() {
        QTest::addColumn<QString>("key");
        QTest::addColumn<QString>("next");
        QTest::newRow("Tab") << "Tab"
                             << "visszaallas";
        QTest::newRow("Shift+Tab") << "Shift+Tab"
                                   << "m_id";
    }

    // Leaving an edit by the keyboard ends its editing as the toolkit does, its selection gone, and
    // the focus goes on: the check that runs on the way never takes the focus loss from the edit.
    void leavingAnEditEndsItsEditing() {
        QFETCH(QString, key);
        QFETCH(QString, next);
        QLineEdit *name = edit(QStringLiteral("m_nev"));
        name->setText(QStringLiteral("Gate"));
        QTest::mouseClick(name, Qt::LeftButton);
        QVERIFY(focusSettlesOn(name));
        QTest::keyClick(name, Qt::Key_A, Qt::ControlModifier);
        QCOMPARE(name->selectedText(), QStringLiteral("Gate"));

        Modal::MessageBoxCatcher catcher;
        if (key == QLatin1String("Shift+Tab"))
            QTest::keyClick(name, Qt::Key_Backtab, Qt::ShiftModifier);
        else
            QTest::keyClick(name, Qt::Key_Tab);
        QVERIFY(!name->hasSelectedText());
        QCOMPARE(name->text(), QStringLiteral("Gate"));
        QVERIFY(focusSettlesOn(edit(next)));
        QCOMPARE(catcher.texts, QStringList());
    }

    // The edit's own context menu takes the focus for a moment without ending the editing.
    void contextMenuChecksNothing() {
        QLineEdit *pin = edit(QStringLiteral("m_pin"));
        QTest::mouseClick(pin, Qt::LeftButton);
        QVERIFY(focusSettlesOn(pin));
        pin->setText(QStringLiteral("12a4"));

        Modal::MessageBoxCatcher catcher;
        // Through the window, so that the right button brings up the menu as it does for the user.
        QTest::mouseClick(window->windowHandle(), Qt::RightButton, {}, pin->mapTo(window.get(), QPoint(5, 5)));
        QTRY_VERIFY(QApplication::activePopupWidget());
        QTest::keyClick(QApplication::activePopupWidget(), Qt::Key_Escape);
        QVERIFY(focusSettlesOn(pin));
        QCOMPARE(catcher.texts, QStringList());
        QCOMPARE(pin->text(), QStringLiteral("12a4"));
    }

    // Closing the window takes the focus from the edit: the check runs once more, and the program
    // still ends when the box is closed.
    void closingTheWindowChecksOnceAndQuits() {
        QLineEdit *pin = edit(QStringLiteral("m_pin"));
        QTest::mouseClick(pin, Qt::LeftButton);
        QVERIFY(focusSettlesOn(pin));
        edit(QStringLiteral("m_id"))->setText(QStringLiteral("x"));

        Modal::MessageBoxCatcher catcher;
        QTimer watchdog;
        watchdog.setSingleShot(true);
        connect(&watchdog, &QTimer::timeout, qApp, &QCoreApplication::quit);
        watchdog.start(10000);
        QTimer::singleShot(0, window.get(), &QWidget::close);
        QCoreApplication::exec();
        QVERIFY2(watchdog.isActive(), "the program did not end");
        QCOMPARE(catcher.texts, QStringList(messageFor(QStringLiteral("numbers"))));
        QVERIFY(!window->isVisible());
    }

    // The window is destroyed with the focus in an edited edit and a bad field in the form: by
    // then the form is gone, and nothing may check it.
    void destroyingTheWindowChecksNothing() {
        QLineEdit *pin = edit(QStringLiteral("m_pin"));
        QTest::mouseClick(pin, Qt::LeftButton);
        QVERIFY(focusSettlesOn(pin));
        QTest::keyClicks(pin, QStringLiteral("12"));
        edit(QStringLiteral("m_id"))->setText(QStringLiteral("x"));

        Modal::MessageBoxCatcher catcher;
        window.reset();
        QCOMPARE(catcher.texts, QStringList());
    }

    void onlyTheFirstFailureIsReported_data() {
        QTest::addColumn<QString>("first");
        QTest::addColumn<QString>("firstRule");
        QTest::addColumn<QString>("second");
        QTest::addColumn<QString>("secondRule");
        // A phone number is checked only when the rest of the form passes.
        QTest::newRow("identifier, then phone number") << "m_id"
                                                       << "numbers"
                                                       << "t3"
                                                       << "phone";
        QTest::newRow("two phone numbers") << "t2"
                                           << "phone"
                                           << "t5"
                                           << "phone";
        QTest::newRow("two texts") << "m_nev"
                                   << "7-bit"
                                   << "visszaallas"
                                   << "7-bit";
    }

    void onlyTheFirstFailureIsReported() {
        QFETCH(QString, first);
        QFETCH(QString, firstRule);
        QFETCH(QString, second);
        QFETCH(QString, secondRule);
        const QString bad = firstRule == QLatin1String("7-bit") ? QStringLiteral("ü") : QStringLiteral("5x");
        QTest::mouseClick(edit(second), Qt::LeftButton);
        QVERIFY(focusSettlesOn(edit(second)));
        edit(first)->setText(bad);
        edit(second)->setText(bad);

        Modal::MessageBoxCatcher catcher;
        QTest::keyClick(edit(second), Qt::Key_Return);
        QCOMPARE(catcher.texts, QStringList(messageFor(firstRule)));
        QVERIFY(edit(first)->text().isEmpty());
        QCOMPARE(edit(second)->text(), bad);
        QVERIFY(focusSettlesOn(edit(first)));

        QTest::keyClick(edit(first), Qt::Key_Tab);
        QCOMPARE(catcher.texts, QStringList({messageFor(firstRule), messageFor(secondRule)}));
        QVERIFY(edit(second)->text().isEmpty());
        QVERIFY(focusSettlesOn(edit(second)));
    }

    // Whichever edit the user leaves or presses Return in, the whole form is checked. The disabled
    // edits take neither the focus nor keys.
    void everyLineEditRunsTheCheck() {
        const QList<QLineEdit *> edits = window->ui->centralWidget->findChildren<QLineEdit *>();
        QCOMPARE(edits.size(), 55);
        QLineEdit *maxsms = edit(QStringLiteral("maxsms"));
        Modal::MessageBoxCatcher catcher;
        int enabled = 0;
        for (QLineEdit *lineEdit : edits) {
            if (!lineEdit->isEnabled())
                continue;
            ++enabled;
            showPageOf(lineEdit);
            for (Qt::Key key : {Qt::Key_Tab, Qt::Key_Return}) {
                QTest::mouseClick(lineEdit, Qt::LeftButton);
                QVERIFY2(focusSettlesOn(lineEdit), qPrintable(lineEdit->objectName()));
                maxsms->setText(QStringLiteral("x"));
                QTest::keyClick(lineEdit, key);
                QVERIFY2(maxsms->text().isEmpty(), qPrintable(lineEdit->objectName()));
            }
        }
        QCOMPARE(enabled, 50);
        QCOMPARE(catcher.texts.size(), 2 * enabled);
    }

    void operatorChoice() {
        QComboBox *combo = window->ui->smskp_combo;
        QLineEdit *number = window->ui->smskp;
        QLineEdit *start = edit(QStringLiteral("m_nev"));
        start->setFocus();
        QVERIFY(focusSettlesOn(start));
        QCOMPARE(combo->currentIndex(), 0);
        QVERIFY(!number->isEnabled());

        combo->setCurrentIndex(2);
        QCOMPARE(combo->currentText(), QStringLiteral("Vodafone"));
        QCOMPARE(number->text(), QStringLiteral("36709996500"));
        QVERIFY(!number->isEnabled());
        QVERIFY(focusSettlesOn(start));

        combo->setCurrentIndex(3);
        QCOMPARE(combo->currentText(), byBuild("Other", "Egyéni"));
        QCOMPARE(number->text(), QStringLiteral("36709996500"));
        QVERIFY(number->isEnabled());
        QVERIFY(focusSettlesOn(number));

        QTest::keyClicks(number, QStringLiteral("1"));
        QCOMPARE(number->text(), QStringLiteral("367099965001"));
        combo->setCurrentIndex(1);
        QCOMPARE(number->text(), QStringLiteral("36209300099"));
        QVERIFY(!number->isEnabled());
        combo->setCurrentIndex(0);
        QCOMPARE(number->text(), QStringLiteral("36309888000"));
        QVERIFY(!number->isEnabled());
    }
};

QTEST_MAIN(TestMainWindowValidation)
#include "tst_mainwindowvalidation.moc"
