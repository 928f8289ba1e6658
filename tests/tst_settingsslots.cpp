#include "dialogs/chardialogs.h"
#include "dialogs/setcom.h"
#include "mainwindow/mainwindow.h"
#include "mainwindow/ui_mainwindow.h"
#include "support/modal.h"

#include <QDialogButtonBox>
#include <QDir>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>

namespace {

// Answers the next modal dialog: puts the given texts into its boxes (by object name), notes
// what the boxes held when it opened, then presses Ok or Cancel.
void answerDialog(const QMap<QString, QString> &texts, bool accept, QMap<QString, QString> *shownAtOpening = nullptr) {
    Modal::whenShown([=](QWidget *modal) {
        auto *dialog = qobject_cast<QDialog *>(modal);
        QVERIFY(dialog);
        for (auto it = texts.begin(); it != texts.end(); ++it) {
            auto *box = dialog->findChild<QLineEdit *>(it.key());
            QVERIFY2(box, qPrintable(it.key()));
            if (shownAtOpening)
                shownAtOpening->insert(it.key(), box->text());
            box->setText(it.value());
        }
        QPushButton *button =
            dialog->findChild<QDialogButtonBox *>()->button(accept ? QDialogButtonBox::Ok : QDialogButtonBox::Cancel);
        if (!button->isEnabled()) {
            dialog->reject();
            QFAIL("Ok is disabled");
        }
        button->click();
    });
}

QMap<QString, char> charSettings(const LinkSettings &s) {
    return {{"checkSize", s.checkSize},
            {"ackChar", s.ackChar},
            {"uploadCommand", s.uploadCommand},
            {"downloadSeparator", s.downloadSeparator},
            {"uploadSeparator", s.uploadSeparator}};
}

QString defaultInfo() {
    return QStringLiteral("Port: COM1\n"
                          "Baudrate: B1200\n"
                          "Timeout: 2000\n"
                          "CHKS: 8bit sum\n"
                          "ACK char: O\n"
                          "Checkvalue: 0\n"
                          "Download Separator: |\n"
                          "Upload Separator: |\n"
                          "Upload Command: {\n");
}

} // namespace

class TestSettingsSlots : public QObject {
    Q_OBJECT

private slots:
    void initTestCase() {
        QVERIFY(workDir.isValid());
        QVERIFY(QDir::setCurrent(workDir.path()));
        // No port can be opened: the folder of ports is empty.
        QVERIFY(QDir(workDir.path()).mkdir(QStringLiteral("ports")));
        qputenv("DOWNLOADER_PORT_DIR", QFile::encodeName(workDir.filePath(QStringLiteral("ports"))));
    }

    void characterSlotsStoreTheFirstLatin1Byte_data() {
        QTest::addColumn<QByteArray>("slot");
        QTest::addColumn<QString>("box");
        QTest::addColumn<QString>("setting");
        QTest::addColumn<QString>("shown");
        QTest::addColumn<QString>("typed");
        QTest::addColumn<bool>("accept");
        QTest::addColumn<char>("stored");

        QTest::newRow("ack") << QByteArray("setAckChar") << "i_char"
                             << "ackChar"
                             << "O"
                             << "K" << true << 'K';
        QTest::newRow("ack Latin-1") << QByteArray("setAckChar") << "i_char"
                                     << "ackChar"
                                     << "O" << QString::fromUtf8("é") << true << char(0xE9);
        QTest::newRow("ack outside Latin-1") << QByteArray("setAckChar") << "i_char"
                                             << "ackChar"
                                             << "O" << QString::fromUtf8("Ő") << true << '?';
        QTest::newRow("ack cancelled") << QByteArray("setAckChar") << "i_char"
                                       << "ackChar"
                                       << "O"
                                       << "K" << false << 'O';
        QTest::newRow("upload command") << QByteArray("setUploadCommand") << "i_char"
                                        << "uploadCommand"
                                        << "{"
                                        << "}" << true << '}';
        QTest::newRow("upload command outside Latin-1") << QByteArray("setUploadCommand") << "i_char"
                                                        << "uploadCommand"
                                                        << "{" << QString::fromUtf8("€") << true << '?';
        QTest::newRow("upload command cancelled") << QByteArray("setUploadCommand") << "i_char"
                                                  << "uploadCommand"
                                                  << "{"
                                                  << "[" << false << '{';
        QTest::newRow("fix empty stores 0") << QByteArray("setFixChar") << "i_char"
                                            << "checkSize"
                                            << ""
                                            << "" << true << '\0';
        QTest::newRow("fix digit is a character") << QByteArray("setFixChar") << "i_char"
                                                  << "checkSize"
                                                  << ""
                                                  << "0" << true << '0';
        QTest::newRow("fix outside Latin-1") << QByteArray("setFixChar") << "i_char"
                                             << "checkSize"
                                             << "" << QString::fromUtf8("ű") << true << '?';
        QTest::newRow("fix cancelled") << QByteArray("setFixChar") << "i_char"
                                       << "checkSize"
                                       << ""
                                       << "Z" << false << '\2';
        QTest::newRow("download separator") << QByteArray("setSeparators") << "c_ds"
                                            << "downloadSeparator"
                                            << "|"
                                            << ";" << true << ';';
        QTest::newRow("upload separator") << QByteArray("setSeparators") << "c_us"
                                          << "uploadSeparator"
                                          << "|" << QString::fromUtf8("Ő") << true << '?';
        QTest::newRow("separators cancelled") << QByteArray("setSeparators") << "c_ds"
                                              << "downloadSeparator"
                                              << "|"
                                              << ";" << false << '|';
    }

    void characterSlotsStoreTheFirstLatin1Byte() {
        QFETCH(QByteArray, slot);
        QFETCH(QString, box);
        QFETCH(QString, setting);
        QFETCH(QString, shown);
        QFETCH(QString, typed);
        QFETCH(bool, accept);
        QFETCH(char, stored);

        MainWindow window;
        window.settings.checkSize = 2; // the 24-bit sum, so that storing 0 is a change
        QMap<QString, char> expected = charSettings(window.settings);
        expected[setting] = stored;
        const QString portLabel = window.portLabel->text();

        QMap<QString, QString> seen;
        answerDialog({{box, typed}}, accept, &seen);
        QVERIFY(QMetaObject::invokeMethod(&window, slot.constData()));
        QCOMPARE(seen.value(box), shown);
        QCOMPARE(charSettings(window.settings), expected);
        QCOMPARE(window.portLabel->text(), portLabel);
    }

    void separatorsStoreBothBoxes() {
        MainWindow window;
        answerDialog({{"c_ds", "a"}, {"c_us", "b"}}, true);
        window.setSeparators();
        QCOMPARE(window.settings.downloadSeparator, 'a');
        QCOMPARE(window.settings.uploadSeparator, 'b');
    }

    void dialogsStayHiddenUnderTheWindow() {
        MainWindow window;
        answerDialog({{"i_char", "A"}}, true);
        window.setAckChar();
        answerDialog({{"i_char", "B"}}, false);
        window.setAckChar();
        answerDialog({}, false);
        window.show_port();

        const QList<setAck *> acks = window.findChildren<setAck *>();
        QCOMPARE(acks.size(), 2);
        for (setAck *dialog : acks)
            QVERIFY(!dialog->isVisible());
        QCOMPARE(window.findChildren<setcom *>().size(), 1);
        QCOMPARE(window.settings.ackChar, 'A');
    }

    void showPortWithoutPortsStoresAnEmptyName() {
        MainWindow window;
        QCOMPARE(window.portLabel->text(), QStringLiteral("COM1  Baud: 1200"));

        answerDialog({}, false);
        window.show_port();
        QCOMPARE(window.settings.port, QStringLiteral("COM1"));
        QCOMPARE(window.settings.baudrate, 1200);
        QCOMPARE(window.portLabel->text(), QStringLiteral("COM1  Baud: 1200"));

        answerDialog({}, true);
        window.show_port();
        QCOMPARE(window.settings.port, QString());
        QCOMPARE(window.settings.baudrate, 1200);
        QCOMPARE(window.portLabel->text(), QStringLiteral(" Baud: 1200"));
    }

    void showPortKeepsAnUnlistedRateAsTheFirstOne() {
        MainWindow window;
        window.settings.baudrate = 0;
        answerDialog({}, true);
        window.show_port();
        QCOMPARE(window.settings.baudrate, 150);
        QCOMPARE(window.portLabel->text(), QStringLiteral(" Baud: 150"));
    }

    void setCheckFlipsTheValueAndTheMenu() {
        MainWindow window;
        QCOMPARE(window.settings.checkValue, 0);
        QVERIFY(!window.ui->menuCHKS->isEnabled());
        window.setCheck();
        QCOMPARE(window.settings.checkValue, 1);
        QVERIFY(window.ui->menuCHKS->isEnabled());
        window.setCheck();
        QCOMPARE(window.settings.checkValue, 0);
        QVERIFY(!window.ui->menuCHKS->isEnabled());

        window.settings.checkValue = 7;
        window.setCheck();
        QCOMPARE(window.settings.checkValue, 0);
        QVERIFY(!window.ui->menuCHKS->isEnabled());
    }

    void checksumChoices_data() {
        QTest::addColumn<QByteArray>("slot");
        QTest::addColumn<char>("checkSize");
        QTest::newRow("8bit") << QByteArray("setChks8") << '\0';
        QTest::newRow("16bit") << QByteArray("setChks16") << '\1';
        QTest::newRow("24bit") << QByteArray("setChks24") << '\2';
        QTest::newRow("32bit") << QByteArray("setChks32") << '\3';
    }

    void checksumChoices() {
        QFETCH(QByteArray, slot);
        QFETCH(char, checkSize);
        MainWindow window;
        window.settings.checkSize = 'X';
        QVERIFY(QMetaObject::invokeMethod(&window, slot.constData()));
        QCOMPARE(window.settings.checkSize, checkSize);
        QCOMPARE(window.settings.checkValue, 0);
        QVERIFY(!window.ui->menuCHKS->isEnabled());
    }

    void showInfo_data() {
        QTest::addColumn<QString>("filePath");
        QTest::addColumn<int>("checkSize");
        QTest::addColumn<QString>("text");

        const QString path = QDir(workDir.path()).filePath(QStringLiteral("default_tkm-720.sms"));
        QTest::newRow("defaults") << path << 0 << defaultInfo();
        QTest::newRow("16bit") << path << 1 << QString(defaultInfo()).replace("8bit sum", "16bit sum");
        QTest::newRow("24bit") << path << 2 << QString(defaultInfo()).replace("8bit sum", "24bit sum");
        QTest::newRow("32bit") << path << 3 << QString(defaultInfo()).replace("8bit sum", "32bit sum");
        QTest::newRow("fixed character") << path << int('X') << QString(defaultInfo()).replace("8bit sum", "X");
        QTest::newRow("no file") << QString() << 0 << "No opened file.";
        QTest::newRow("empty path") << "" << 0 << "No opened file.";
    }

    void showInfo() {
        QFETCH(QString, filePath);
        QFETCH(int, checkSize);
        QFETCH(QString, text);

        MainWindow window;
        window.settings.filePath = filePath;
        window.settings.checkSize = char(checkSize);
        Modal::MessageBoxCatcher boxes;
        window.show_info();
        QCOMPARE(boxes.titles, QStringList{QStringLiteral("Information")});
        QCOMPARE(boxes.texts, QStringList{text});
        QCOMPARE(boxes.icons, QList<int>{int(QMessageBox::Information)});
    }

    void showInfoListsChangedSettings() {
        MainWindow window;
        LinkSettings &s = window.settings;
        s.filePath = QStringLiteral("/somewhere/a.sms");
        s.port = QStringLiteral("COM12");
        s.baudrate = 9600;
        s.serialTimeout = 150;
        s.ackChar = char(0xE9);
        s.checkValue = 1;
        s.downloadSeparator = ';';
        s.uploadSeparator = ',';
        s.uploadCommand = '[';
        Modal::MessageBoxCatcher boxes;
        window.show_info();
        QCOMPARE(boxes.texts, QStringList{QString::fromUtf8("Port: COM12\n"
                                                            "Baudrate: B9600\n"
                                                            "Timeout: 150\n"
                                                            "CHKS: 8bit sum\n"
                                                            "ACK char: é\n"
                                                            "Checkvalue: 1\n"
                                                            "Download Separator: ;\n"
                                                            "Upload Separator: ,\n"
                                                            "Upload Command: [\n")});
    }

private:
    QTemporaryDir workDir;
};

QTEST_MAIN(TestSettingsSlots)
#include "tst_settingsslots.moc"
