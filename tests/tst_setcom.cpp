#include "dialogs/setcom.h"

#include <QComboBox>
#include <QDialogButtonBox>
#include <QGridLayout>
#include <QLabel>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>

namespace {

const bool english = QByteArray(DOWNLOADER_BUILD_LANGUAGE) == "en";

const QStringList rates = {"150",  "200",  "300",   "600",   "1200",  "1800",  "2400",
                           "4800", "9600", "19200", "38400", "57600", "76800", "115200"};

QStringList items(const QComboBox *box) {
    QStringList texts;
    for (int i = 0; i < box->count(); ++i)
        texts << box->itemText(i);
    return texts;
}

QStringList staticPortNames() {
    QStringList names;
    for (int n = 1; n <= 32; ++n)
        names << QStringLiteral("COM%1").arg(n);
    return names;
}

void sendLanguageChange(QWidget *widget) {
    QEvent languageChange(QEvent::LanguageChange);
    QCoreApplication::sendEvent(widget, &languageChange);
}

} // namespace

// The port list stays empty here: the ports are looked up in an empty folder. Probing real
// devices is tested on pseudo-terminals in tst_portprobe.
class TestSetcom : public QObject {
    Q_OBJECT

private slots:
    void initTestCase() {
        QVERIFY(portDir.isValid());
        qputenv("DOWNLOADER_PORT_DIR", QFile::encodeName(portDir.path()));
    }

    void form() {
        setcom dialog(QStringLiteral("COM1"), 1200);
        QCOMPARE(dialog.metaObject()->className(), "setcom");
        QCOMPARE(dialog.objectName(), QStringLiteral("setcom"));
        QCOMPARE(dialog.windowTitle(),
                 english ? QStringLiteral("Port settings") : QString::fromUtf8("Port beállítások"));
        QCOMPARE(dialog.ui->l_com->text(), QStringLiteral("COM Port:"));
        QCOMPARE(dialog.ui->l_baud->text(), QStringLiteral("Baudrate:"));
        QCOMPARE(dialog.size(), QSize(252, 146));
        QCOMPARE(dialog.layout(), dialog.ui->verticalLayout);
        QCOMPARE(dialog.ui->gridLayout->itemAtPosition(0, 0)->widget(), dialog.ui->l_com);
        QCOMPARE(dialog.ui->gridLayout->itemAtPosition(1, 0)->widget(), dialog.ui->l_baud);
        QCOMPARE(dialog.ui->gridLayout->itemAtPosition(0, 1)->widget(), dialog.ui->comboBox);
        QCOMPARE(dialog.ui->gridLayout->itemAtPosition(1, 1)->widget(), dialog.ui->baudrate);
        QVERIFY(dialog.ui->gridLayout->itemAtPosition(2, 1)->spacerItem());
        QCOMPARE(dialog.ui->buttonBox->standardButtons(), QDialogButtonBox::Ok | QDialogButtonBox::Cancel);
        QVERIFY(dialog.ui->buttonBox->centerButtons());
        QVERIFY(dialog.ui->comboBox->isEnabled());
        QVERIFY(!dialog.ui->baudrate->isEnabled());
        QCOMPARE(items(dialog.ui->baudrate), rates);
    }

    void noFreePortLeavesTheListEmpty() {
        setcom dialog(QStringLiteral("COM1"), 1200);
        QCOMPARE(dialog.ui->comboBox->count(), 0);
        const PortSelection chosen = dialog.selection();
        QCOMPARE(chosen.port, QString());
        QCOMPARE(chosen.baudrate, 1200);
        QVERIFY(dialog.ui->buttonBox->button(QDialogButtonBox::Ok)->isEnabled());
    }

    void rateIsPreselected_data() {
        QTest::addColumn<int>("rate");
        QTest::addColumn<int>("index");
        QTest::addColumn<int>("selected");

        for (int i = 0; i < rates.size(); ++i)
            QTest::newRow(qPrintable(rates.at(i))) << rates.at(i).toInt() << i << rates.at(i).toInt();
        QTest::newRow("0 is not listed") << 0 << 0 << 150;
        QTest::newRow("1201 is not listed") << 1201 << 0 << 150;
        QTest::newRow("negative") << -1200 << 0 << 150;
    }

    void rateIsPreselected() {
        QFETCH(int, rate);
        QFETCH(int, index);
        QFETCH(int, selected);

        setcom dialog(QStringLiteral("COM1"), rate);
        QCOMPARE(dialog.ui->baudrate->currentIndex(), index);
        QCOMPARE(dialog.selection().baudrate, selected);
        QCOMPARE(dialog.ui->baudrate->count(), 14);
    }

    void languageChangeRefillsBothLists() {
        setcom dialog(QStringLiteral("COM1"), 9600);
        dialog.setWindowTitle(QStringLiteral("changed"));
        sendLanguageChange(&dialog);

        QCOMPARE(dialog.windowTitle(),
                 english ? QStringLiteral("Port settings") : QString::fromUtf8("Port beállítások"));
        QCOMPARE(items(dialog.ui->comboBox), staticPortNames());
        QCOMPARE(items(dialog.ui->baudrate), rates);
        const PortSelection chosen = dialog.selection();
        QCOMPARE(chosen.port, QStringLiteral("COM1"));
        QCOMPARE(chosen.baudrate, 150);
        QVERIFY(!dialog.ui->baudrate->isEnabled());

        dialog.ui->comboBox->setCurrentIndex(31);
        QCOMPARE(dialog.selection().port, QStringLiteral("COM32"));
    }

    void otherEventsChangeNothing() {
        setcom dialog(QStringLiteral("COM1"), 9600);
        QEvent fontChange(QEvent::FontChange);
        QCoreApplication::sendEvent(&dialog, &fontChange);
        QCOMPARE(dialog.ui->comboBox->count(), 0);
        QCOMPARE(dialog.selection().baudrate, 9600);
    }

    // Works on the 32 static names that a language change puts into the list.
    void setSelectionReadsTheLastDigit_data() {
        QTest::addColumn<QString>("port");
        QTest::addColumn<int>("rate");
        QTest::addColumn<QString>("selectedPort");
        QTest::addColumn<int>("selectedRate");

        QTest::newRow("COM1") << "COM1" << 1200 << "COM1" << 1200;
        QTest::newRow("COM5") << "COM5" << 9600 << "COM5" << 9600;
        QTest::newRow("COM9") << "COM9" << 115200 << "COM9" << 115200;
        QTest::newRow("COM12 lands on position 1") << "COM12" << 150 << "COM2" << 150;
        QTest::newRow("ending in 0 leaves the port") << "COM10" << 300 << "COM7" << 300;
        QTest::newRow("ending in a letter leaves the port") << "COMX" << 600 << "COM7" << 600;
        QTest::newRow("empty name leaves the port") << "" << 2400 << "COM7" << 2400;
        QTest::newRow("unlisted rate leaves the rate") << "COM3" << 1234 << "COM3" << 4800;
    }

    void setSelectionReadsTheLastDigit() {
        QFETCH(QString, port);
        QFETCH(int, rate);
        QFETCH(QString, selectedPort);
        QFETCH(int, selectedRate);

        setcom dialog(QStringLiteral("COM1"), 1200);
        sendLanguageChange(&dialog);
        dialog.setSelection({QStringLiteral("COM7"), 4800});
        dialog.setSelection({port, rate});
        const PortSelection chosen = dialog.selection();
        QCOMPARE(chosen.port, selectedPort);
        QCOMPARE(chosen.baudrate, selectedRate);
    }

    void setSelectionBeyondTheListLeavesThePort() {
        setcom dialog(QStringLiteral("COM1"), 1200);
        dialog.setSelection({QStringLiteral("COM3"), 19200});
        QCOMPARE(dialog.ui->comboBox->count(), 0);
        QCOMPARE(dialog.selection().port, QString());
        QCOMPARE(dialog.selection().baudrate, 19200);
    }

private:
    QTemporaryDir portDir;
};

QTEST_MAIN(TestSetcom)
#include "tst_setcom.moc"
