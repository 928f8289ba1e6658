#include "mainwindow/mainwindow.h"
#include "mainwindow/ui_mainwindow.h"
#include "support/modal.h"

#include <QApplication>
#include <QDir>
#include <QLineEdit>
#include <QMessageBox>
#include <QTemporaryDir>
#include <QTest>

#include <memory>

namespace {

const bool hungarian = QLatin1String(DOWNLOADER_BUILD_LANGUAGE) == QLatin1String("hu");

QString byBuild(const char *english, const char *hungarianText) {
    return QString::fromUtf8(hungarian ? hungarianText : english);
}

QString titleText() {
    return byBuild("Input error", "Beviteli hiba");
}

// The build's message for a rule, by a short key.
QString messageFor(const QString &rule) {
    if (rule == QLatin1String("numbers"))
        return byBuild("Only numbers!", "Csak számok adhatóak meg!");
    if (rule == QLatin1String("range"))
        return byBuild("Value must be between 0,1 and 9,9!", "Az értéknek 0,1 és 9,9 közöttinek kell lenni!");
    if (rule == QLatin1String("7-bit"))
        return byBuild("Only numbers and letters! (7-bit ascii)\n",
                       "Csak számok és betűk adhatóak meg! (7-bit ascii)\n");
    if (rule == QLatin1String("0 or 1"))
        return byBuild("Value must be 0 or 1!", "Az érték vagy 1 vagy 0 lehet!");
    if (rule == QLatin1String("phone"))
        return byBuild("Value must be a valid phone number!", "Telefonszám esetében csak számokat adhat meg!");
    return QStringLiteral("unknown rule ") + rule;
}

} // namespace

class TestMainWindowValidation : public QObject {
    Q_OBJECT

    std::unique_ptr<QTemporaryDir> workDir;
    std::unique_ptr<MainWindow> window;
    int finishedSignals = 0; // editingFinished() of any line edit, nested ones included

    QLineEdit *edit(const QString &name) const { return window->findChild<QLineEdit *>(name); }

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
        finishedSignals = 0;
        for (QLineEdit *lineEdit : window->ui->centralWidget->findChildren<QLineEdit *>())
            connect(lineEdit, &QLineEdit::editingFinished, this, [this] { ++finishedSignals; });
        window->show();
        window->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(window.get()));
    }

    void cleanup() {
        window.reset();
        QDir::setCurrent(QDir::tempPath());
        workDir.reset();
    }

    void editingFinishedChecksTheForm_data() {
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

    void editingFinishedChecksTheForm() {
        QFETCH(QStringList, texts);
        QFETCH(QString, rule);
        QFETCH(QStringList, cleared);
        QFETCH(QString, focused);
        // The user works on the page of the first edit, starting from another edit there.
        QWidget *page = edit(texts.first());
        while (window->ui->tabWidget->indexOf(page) < 0)
            page = page->parentWidget();
        window->ui->tabWidget->setCurrentWidget(page);
        QLineEdit *start = nullptr;
        for (QLineEdit *candidate : page->findChildren<QLineEdit *>()) {
            if (!start && candidate->isEnabled() && !texts.contains(candidate->objectName()))
                start = candidate;
        }
        start->setFocus();
        QVERIFY(focusSettlesOn(start));
        for (int i = 0; i < texts.size(); i += 2)
            edit(texts.at(i))->setText(texts.at(i + 1));

        Modal::MessageBoxCatcher catcher;
        emit edit(texts.first())->editingFinished();

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

    // Typing a bad text and leaving the edit: the slot clears and focuses it, the box takes the
    // focus, and the edit's own editingFinished() runs the check again inside the box. Still one box.
    void typedTextIsReportedOnce() {
        QLineEdit *pin = edit(QStringLiteral("m_pin"));
        pin->setFocus();
        QVERIFY(focusSettlesOn(pin));
        QTest::keyClicks(pin, QStringLiteral("12a4"));

        Modal::MessageBoxCatcher catcher;
        QTest::keyClick(pin, Qt::Key_Tab);

        QCOMPARE(catcher.texts, QStringList(messageFor(QStringLiteral("numbers"))));
        QVERIFY(pin->text().isEmpty());
        QVERIFY(focusSettlesOn(pin));
        QVERIFY2(finishedSignals >= 2, "the focus change ended no editing");
    }

    // The focus sits in an edit with unfinished changes while another edit's check fails: moving
    // the focus away from it comes back into the check before the box is shown. Still one box.
    void focusLeavingAnEditedEditGivesOneBox() {
        QLineEdit *name = edit(QStringLiteral("m_nev"));
        name->setFocus();
        QVERIFY(focusSettlesOn(name));
        QTest::keyClicks(name, QStringLiteral("Gate"));
        edit(QStringLiteral("m_id"))->setText(QStringLiteral("4x"));

        Modal::MessageBoxCatcher catcher;
        emit edit(QStringLiteral("m_id"))->editingFinished();

        QCOMPARE(catcher.texts, QStringList(messageFor(QStringLiteral("numbers"))));
        QVERIFY(edit(QStringLiteral("m_id"))->text().isEmpty());
        QCOMPARE(name->text(), QStringLiteral("Gate"));
        QVERIFY(focusSettlesOn(edit(QStringLiteral("m_id"))));
        QVERIFY2(finishedSignals >= 3, "the focus change ended no editing");
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
        edit(first)->setText(bad);
        edit(second)->setText(bad);

        Modal::MessageBoxCatcher catcher;
        emit edit(second)->editingFinished();
        QCOMPARE(catcher.texts, QStringList(messageFor(firstRule)));
        QVERIFY(edit(first)->text().isEmpty());
        QCOMPARE(edit(second)->text(), bad);
        QVERIFY(focusSettlesOn(edit(first)));

        emit edit(first)->editingFinished();
        QCOMPARE(catcher.texts, QStringList({messageFor(firstRule), messageFor(secondRule)}));
        QVERIFY(edit(second)->text().isEmpty());
        QVERIFY(focusSettlesOn(edit(second)));
    }

    // Whichever edit finishes, the whole form is checked.
    void everyLineEditRunsTheCheck() {
        const QList<QLineEdit *> edits = window->ui->centralWidget->findChildren<QLineEdit *>();
        QCOMPARE(edits.size(), 55);
        Modal::MessageBoxCatcher catcher;
        for (QLineEdit *lineEdit : edits) {
            edit(QStringLiteral("maxsms"))->setText(QStringLiteral("x"));
            emit lineEdit->editingFinished();
            QVERIFY2(edit(QStringLiteral("maxsms"))->text().isEmpty(), qPrintable(lineEdit->objectName()));
        }
        QCOMPARE(catcher.texts.size(), 55);
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
