#include "link/linksettings.h"

#include <QTest>
#include <QTextStream>

class TestLinkSettings : public QObject {
    Q_OBJECT

private slots:
    void defaults() {
        const LinkSettings s;
        QCOMPARE(s.port, QStringLiteral("COM1"));
        QCOMPARE(s.baudrate, 1200);
        QCOMPARE(s.checkSize, char(0));
        QCOMPARE(s.ackChar, 'O');
        QCOMPARE(s.serialTimeout, 2000);
        QCOMPARE(s.checkValue, 0);
        QCOMPARE(s.downloadSeparator, '|');
        QCOMPARE(s.uploadSeparator, '|');
        QCOMPARE(s.uploadCommand, '{');
        QVERIFY(s.dataText.isNull());
        QVERIFY(s.fileName.isNull());
        QVERIFY(s.filePath.isNull());
    }

    void fiveValueConstructorKeepsTheOtherDefaults() {
        const LinkSettings s(QStringLiteral("COM7"), 9600, 'X', 'K', 500);
        QCOMPARE(s.port, QStringLiteral("COM7"));
        QCOMPARE(s.baudrate, 9600);
        QCOMPARE(s.checkSize, 'X');
        QCOMPARE(s.ackChar, 'K');
        QCOMPARE(s.serialTimeout, 500);
        QCOMPARE(s.checkValue, 0);
        QCOMPARE(s.downloadSeparator, '|');
        QCOMPARE(s.uploadSeparator, '|');
        QCOMPARE(s.uploadCommand, '{');
    }

    void read_data() {
        QTest::addColumn<QString>("input");
        QTest::addColumn<int>("result");
        QTest::addColumn<QString>("port");
        QTest::addColumn<int>("baudrate");
        QTest::addColumn<int>("checkSize");
        QTest::addColumn<int>("checkValue");
        QTest::addColumn<int>("serialTimeout");

        QTest::newRow("empty stream") << "" << 31 << "COM1" << 1200 << 0 << 0 << 2000;
        QTest::newRow("blanks removed") << "Port = COM 3" << 29 << "COM3" << 1200 << 0 << 0 << 2000;
        QTest::newRow("check size 2 is modulo 16") << "CheckSize=2" << 23 << "COM1" << 1200 << 1 << 0 << 2000;
        QTest::newRow("check size 5 refused") << "CheckSize=5" << 31 << "COM1" << 1200 << 0 << 0 << 2000;
        QTest::newRow("check value 2 refused") << "CheckValue=2" << 31 << "COM1" << 1200 << 0 << 0 << 2000;
        QTest::newRow("fixed check character") << "CheckSize=X" << 23 << "COM1" << 1200 << int('X') << 0 << 2000;
        QTest::newRow("empty baud rate") << "Baudrate=" << 31 << "COM1" << 1200 << 0 << 0 << 2000;
        QTest::newRow("key alone is its own value") << "Port" << 29 << "Port" << 1200 << 0 << 0 << 2000;
        QTest::newRow("several equals signs") << "Port=A=COM9" << 29 << "COM9" << 1200 << 0 << 0 << 2000;
        QTest::newRow("all five") << "Baudrate=9600\nPort=COM2\nSerialTimeout=100\nCheckSize=4\nCheckValue=1" << 0
                                  << "COM2" << 9600 << 3 << 1 << 100;
        QTest::newRow("stops at hyphens with blanks")
            << "Port=COM4\n- - -\nBaudrate=300" << 29 << "COM4" << 1200 << 0 << 0 << 2000;
        QTest::newRow("key accepted twice counts twice")
            << "Port=COM5\nPort=COM6" << 27 << "COM6" << 1200 << 0 << 0 << 2000;
        QTest::newRow("tab is not removed") << "Port\t=COM8" << 31 << "COM1" << 1200 << 0 << 0 << 2000;
        QTest::newRow("case-sensitive keys") << "port=COM8" << 31 << "COM1" << 1200 << 0 << 0 << 2000;
    }

    void read() {
        QFETCH(QString, input);
        QString text = input;
        QTextStream in(&text);
        LinkSettings s;
        QFETCH(int, result);
        QCOMPARE(int(s.read(in)), result);
        QTEST(s.port, "port");
        QTEST(s.baudrate, "baudrate");
        QTEST(int(s.checkSize), "checkSize");
        QTEST(s.checkValue, "checkValue");
        QTEST(s.serialTimeout, "serialTimeout");
    }

    void readSeparatorsAndCommand() {
        QString text = QStringLiteral("UploadCommand=?x\nUploadSeparator=;\nDownloadSeparator=#");
        QTextStream in(&text);
        LinkSettings s;
        QCOMPARE(int(s.read(in)), 31);
        QCOMPARE(s.uploadCommand, '?');
        QCOMPARE(s.uploadSeparator, ';');
        QCOMPARE(s.downloadSeparator, '#');
    }
};

QTEST_APPLESS_MAIN(TestLinkSettings)
#include "tst_linksettings.moc"
