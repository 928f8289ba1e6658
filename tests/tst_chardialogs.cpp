#include "dialogs/chardialogs.h"

#include <QDialogButtonBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>

namespace {

enum Member { Fix, Ack, UC };

CharDialog *makeMember(int member, char current) {
    switch (member) {
    case Fix:
        return new setFix(nullptr, current);
    case Ack:
        return new setAck(nullptr, current);
    default:
        return new setUC(nullptr, current);
    }
}

QPushButton *okButton(QDialogButtonBox *box) {
    return box->button(QDialogButtonBox::Ok);
}

void sendLanguageChange(QWidget *widget) {
    QEvent languageChange(QEvent::LanguageChange);
    QCoreApplication::sendEvent(widget, &languageChange);
}

} // namespace

class TestCharDialogs : public QObject {
    Q_OBJECT

private slots:
    void familyForm_data() {
        QTest::addColumn<int>("member");
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("title");
        QTest::addColumn<QString>("label");
        QTest::addColumn<QSize>("size");
        QTest::addColumn<QRect>("buttonBox");
        QTest::addColumn<bool>("centred");
        QTest::addColumn<QRect>("row");

        QTest::newRow("setFix") << int(Fix) << "setFix"
                                << "CHKS Char"
                                << "CHKS Char:" << QSize(268, 127) << QRect(10, 80, 191, 32) << true
                                << QRect(20, 20, 234, 31);
        QTest::newRow("setAck") << int(Ack) << "setAck"
                                << "ACK char"
                                << "ACK Char:" << QSize(286, 114) << QRect(60, 70, 191, 32) << false
                                << QRect(20, 20, 234, 31);
        QTest::newRow("setUC") << int(UC) << "setUC"
                               << "Upload Command"
                               << "Upload Command: " << QSize(320, 118) << QRect(80, 70, 221, 32) << false
                               << QRect(20, 20, 285, 31);
    }

    void familyForm() {
        QFETCH(int, member);
        QFETCH(QString, name);
        QFETCH(QString, title);
        QFETCH(QString, label);
        QFETCH(QSize, size);
        QFETCH(QRect, buttonBox);
        QFETCH(bool, centred);
        QFETCH(QRect, row);

        std::unique_ptr<CharDialog> dialog(makeMember(member, 'O'));
        QCOMPARE(QString::fromLatin1(dialog->metaObject()->className()), name);
        QCOMPARE(dialog->objectName(), name);
        QCOMPARE(dialog->windowTitle(), title);
        QCOMPARE(dialog->ui->label->text(), label);
        QCOMPARE(dialog->size(), size);
        QVERIFY(!dialog->layout());
        QCOMPARE(dialog->ui->buttonBox->geometry(), buttonBox);
        QCOMPARE(dialog->ui->buttonBox->centerButtons(), centred);
        QCOMPARE(dialog->ui->buttonBox->standardButtons(), QDialogButtonBox::Ok | QDialogButtonBox::Cancel);
        QCOMPARE(dialog->ui->horizontalLayoutWidget->geometry(), row);
        QCOMPARE(dialog->ui->i_char->maxLength(), 1);
        QCOMPARE(dialog->ui->i_char->sizePolicy().horizontalPolicy(), QSizePolicy::Fixed);
        QCOMPARE(dialog->ui->i_char->sizePolicy().verticalPolicy(), QSizePolicy::Fixed);
    }

    void familyOpening_data() {
        QTest::addColumn<int>("member");
        QTest::addColumn<char>("current");
        QTest::addColumn<QString>("shown");

        QTest::newRow("setAck default") << int(Ack) << 'O' << "O";
        QTest::newRow("setUC default") << int(UC) << '{' << "{";
        QTest::newRow("setAck Latin-1 byte") << int(Ack) << char(0xE9) << QString::fromUtf8("é");
        QTest::newRow("setFix ignores the current character") << int(Fix) << 'X' << "";
        QTest::newRow("setFix with the 8-bit sum") << int(Fix) << '\0' << "";
    }

    void familyOpening() {
        QFETCH(int, member);
        QFETCH(char, current);
        QFETCH(QString, shown);

        std::unique_ptr<CharDialog> dialog(makeMember(member, current));
        QCOMPARE(dialog->ui->i_char->text(), shown);
        QVERIFY(okButton(dialog->ui->buttonBox)->isEnabled());
    }

    void familyOkRuleFollowsTyping_data() {
        QTest::addColumn<int>("member");
        QTest::newRow("setFix") << int(Fix);
        QTest::newRow("setAck") << int(Ack);
        QTest::newRow("setUC") << int(UC);
    }

    void familyOkRuleFollowsTyping() {
        QFETCH(int, member);
        std::unique_ptr<CharDialog> dialog(makeMember(member, 'O'));
        dialog->show();
        QVERIFY(QTest::qWaitForWindowExposed(dialog.get()));
        QLineEdit *box = dialog->ui->i_char;
        QPushButton *ok = okButton(dialog->ui->buttonBox);

        box->setFocus();
        box->end(false);
        if (member == Fix) {
            // Opens empty, yet Ok stays enabled until the text first changes.
            QTest::keyClick(box, Qt::Key_Backspace);
            QVERIFY(ok->isEnabled());
        } else {
            QTest::keyClick(box, Qt::Key_Backspace);
            QCOMPARE(box->text(), QString());
            QVERIFY(!ok->isEnabled());
        }

        QTest::keyClicks(box, QStringLiteral("#"));
        QCOMPARE(box->text(), QStringLiteral("#"));
        QVERIFY(ok->isEnabled());

        // A second character does not fit.
        QTest::keyClicks(box, QStringLiteral("ab"));
        QCOMPARE(box->text(), QStringLiteral("#"));
        box->setText(QStringLiteral("xyz"));
        QCOMPARE(box->text(), QStringLiteral("x"));
        QVERIFY(ok->isEnabled());

        QTest::keyClick(box, Qt::Key_Backspace);
        QVERIFY(!ok->isEnabled());
    }

    void familyLanguageChangeClearsTheBox_data() { familyOkRuleFollowsTyping_data(); }

    void familyLanguageChangeClearsTheBox() {
        QFETCH(int, member);
        std::unique_ptr<CharDialog> dialog(makeMember(member, 'O'));
        const QString title = dialog->windowTitle();
        const QString label = dialog->ui->label->text();
        dialog->ui->i_char->setText(QStringLiteral("k"));
        dialog->setWindowTitle(QStringLiteral("changed"));
        dialog->ui->label->clear();

        sendLanguageChange(dialog.get());
        QCOMPARE(dialog->windowTitle(), title);
        QCOMPARE(dialog->ui->label->text(), label);
        QCOMPARE(dialog->ui->i_char->text(), QString());
        QVERIFY(!okButton(dialog->ui->buttonBox)->isEnabled());
    }

    void familyButtonsEndTheDialog() {
        setAck accepted(nullptr, 'O');
        okButton(accepted.ui->buttonBox)->click();
        QCOMPARE(accepted.result(), int(QDialog::Accepted));

        setUC rejected(nullptr, '{');
        rejected.ui->buttonBox->button(QDialogButtonBox::Cancel)->click();
        QCOMPARE(rejected.result(), int(QDialog::Rejected));
    }

    void separatorsForm() {
        separators dialog(nullptr, '|', '|');
        QCOMPARE(dialog.metaObject()->className(), "separators");
        QCOMPARE(dialog.objectName(), QStringLiteral("separators"));
        QCOMPARE(dialog.windowTitle(), QStringLiteral("Separators"));
        QCOMPARE(dialog.size(), QSize(325, 157));
        QCOMPARE(dialog.ui->buttonBox->geometry(), QRect(120, 110, 191, 32));
        QVERIFY(!dialog.ui->buttonBox->centerButtons());
        QCOMPARE(dialog.ui->horizontalLayoutWidget->geometry(), QRect(20, 20, 291, 31));
        QCOMPARE(dialog.ui->horizontalLayoutWidget_2->geometry(), QRect(20, 60, 291, 31));
        QCOMPARE(dialog.ui->label->text(), QStringLiteral("Download separator:"));
        QCOMPARE(dialog.ui->label_2->text(), QStringLiteral("Upload separator:"));
        QCOMPARE(dialog.ui->c_ds->parentWidget(), dialog.ui->horizontalLayoutWidget);
        QCOMPARE(dialog.ui->c_us->parentWidget(), dialog.ui->horizontalLayoutWidget_2);
        QCOMPARE(dialog.ui->c_ds->maxLength(), 1);
        QCOMPARE(dialog.ui->c_us->maxLength(), 1);
    }

    void separatorsOpening() {
        separators defaults(nullptr, '|', '|');
        QCOMPARE(defaults.ui->c_ds->text(), QStringLiteral("|"));
        QCOMPARE(defaults.ui->c_us->text(), QStringLiteral("|"));
        QVERIFY(okButton(defaults.ui->buttonBox)->isEnabled());

        // Download separator first, upload separator second.
        separators distinct(nullptr, ';', ',');
        QCOMPARE(distinct.ui->c_ds->text(), QStringLiteral(";"));
        QCOMPARE(distinct.ui->c_us->text(), QStringLiteral(","));
    }

    void separatorsOkNeedsBothBoxes() {
        separators dialog(nullptr, '|', '|');
        dialog.show();
        QVERIFY(QTest::qWaitForWindowExposed(&dialog));
        QPushButton *ok = okButton(dialog.ui->buttonBox);

        dialog.ui->c_ds->setFocus();
        dialog.ui->c_ds->end(false);
        QTest::keyClick(dialog.ui->c_ds, Qt::Key_Backspace);
        QVERIFY(!ok->isEnabled());
        dialog.ui->c_us->end(false);
        QTest::keyClick(dialog.ui->c_us, Qt::Key_Backspace);
        QVERIFY(!ok->isEnabled());
        QTest::keyClicks(dialog.ui->c_us, QStringLiteral("u"));
        QVERIFY(!ok->isEnabled()); // the download box is still empty
        QTest::keyClicks(dialog.ui->c_ds, QStringLiteral("dd"));
        QCOMPARE(dialog.ui->c_ds->text(), QStringLiteral("d"));
        QVERIFY(ok->isEnabled());
        QTest::keyClick(dialog.ui->c_us, Qt::Key_Backspace);
        QVERIFY(!ok->isEnabled());
    }

    void separatorsLanguageChangeClearsBothBoxes() {
        separators dialog(nullptr, '|', '|');
        dialog.setWindowTitle(QStringLiteral("changed"));
        sendLanguageChange(&dialog);
        QCOMPARE(dialog.windowTitle(), QStringLiteral("Separators"));
        QCOMPARE(dialog.ui->c_ds->text(), QString());
        QCOMPARE(dialog.ui->c_us->text(), QString());
        QVERIFY(!okButton(dialog.ui->buttonBox)->isEnabled());
    }
};

QTEST_MAIN(TestCharDialogs)
#include "tst_chardialogs.moc"
