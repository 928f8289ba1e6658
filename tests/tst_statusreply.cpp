#include "link/statusreply.h"

#include <QTest>

namespace {

using Flags = std::array<bool, 4>;

const QByteArray typical = "OUT:=1010 IN:1100 A1:12.5 A2:3.0 SUPPL:1 GSMQ:3 1.6";

} // namespace

class TestStatusReply : public QObject {
    Q_OBJECT

private slots:
    void parse_data() {
        QTest::addColumn<QByteArray>("reply");
        QTest::addColumn<char>("supplyOnChar");
        QTest::addColumn<bool>("parsed");
        QTest::addColumn<Flags>("outputs");
        QTest::addColumn<Flags>("inputs");
        QTest::addColumn<QString>("analog1");
        QTest::addColumn<QString>("analog2");
        QTest::addColumn<bool>("supplyOn");
        QTest::addColumn<int>("signal");
        QTest::addColumn<QString>("version");

        const Flags all = {true, true, true, true};
        const Flags none = {false, false, false, false};
        const QByteArray ones = "111111111 1111111 1111 1111 1111111 111111 1";

        QTest::newRow("typical") << typical << '1' << true << Flags{true, false, true, false}
                                 << Flags{true, true, false, false} << "12.5"
                                 << "3.0" << true << 30 << "1.6";
        QTest::newRow("every character 1, English supply") << ones << '1' << true << all << all << "1"
                                                           << "1" << true << 10 << "1";
        QTest::newRow("every character 1, Hungarian supply") << ones << '0' << true << all << all << "1"
                                                             << "1" << false << 10 << "1";
        QTest::newRow("supply 0, Hungarian") << QByteArray("a b c d SUPPL:0 f g") << '0' << true << none << none << ""
                                             << "" << true << 2 << "g";
        QTest::newRow("two spaces shift every later part")
            << QByteArray("OUT:=1111 IN:1111  A1:12.5 A2:3.0 SUPPL:1 GSMQ:3") << '1' << true << all << all << ""
            << "12.5" << false << 2 << "GSMQ:3";
        QTest::newRow("short part 0") << QByteArray("OUT:=11 IN: A1 A2:x SUPPL: GSMQ: v") << '1' << true
                                      << Flags{true, true, false, false} << none << ""
                                      << "x" << false << 2 << "v";
        QTest::newRow("later parts ignored")
            << typical + " extra more" << '1' << true << Flags{true, false, true, false}
            << Flags{true, true, false, false} << "12.5"
            << "3.0" << true << 30 << "1.6";
        QTest::newRow("Latin-1 version") << QByteArray("a b c d e f V\xe9r") << '1' << true << none << none << ""
                                         << "" << false << 2 << "Vér";
        QTest::newRow("six parts") << QByteArray("OUT:=1111 IN:1111 A1:1 A2:2 SUPPL:1 GSMQ:3") << '1' << false << none
                                   << none << ""
                                   << "" << false << 0 << "";
        QTest::newRow("empty reply") << QByteArray() << '1' << false << none << none << ""
                                     << "" << false << 0 << "";
        QTest::newRow("six spaces are seven empty parts") << QByteArray("      ") << '1' << true << none << none << ""
                                                          << "" << false << 2 << "";
    }

    void parse() {
        QFETCH(QByteArray, reply);
        QFETCH(char, supplyOnChar);
        QFETCH(bool, parsed);
        const auto report = parseStatusReply(reply, supplyOnChar);
        QCOMPARE(report.has_value(), parsed);
        if (!parsed)
            return;
        QTEST(report->outputs, "outputs");
        QTEST(report->inputs, "inputs");
        QTEST(report->analog1, "analog1");
        QTEST(report->analog2, "analog2");
        QTEST(report->supplyOn, "supplyOn");
        QTEST(report->signal, "signal");
        QTEST(report->version, "version");
    }

    void signal_data() {
        QTest::addColumn<QByteArray>("part");
        QTest::addColumn<int>("signal");

        QTest::newRow("1") << QByteArray("GSMQ:1") << 10;
        QTest::newRow("2") << QByteArray("GSMQ:2") << 20;
        QTest::newRow("3") << QByteArray("GSMQ:3") << 30;
        QTest::newRow("0") << QByteArray("GSMQ:0") << 2;
        QTest::newRow("4") << QByteArray("GSMQ:4") << 2;
        QTest::newRow("12") << QByteArray("GSMQ:12") << 2;
        QTest::newRow("negative") << QByteArray("GSMQ:-3") << 2;
        QTest::newRow("text") << QByteArray("GSMQ:ok") << 2;
        QTest::newRow("leading zero") << QByteArray("GSMQ:03") << 30;
        QTest::newRow("missing") << QByteArray("GSMQ") << 2;
        QTest::newRow("overflows when multiplied") << QByteArray("GSMQ:214748365") << 2;
        QTest::newRow("beyond int") << QByteArray("GSMQ:99999999999") << 2;
    }

    void signal() {
        QFETCH(QByteArray, part);
        const auto report = parseStatusReply("a b c d e " + part + " v", '1');
        QVERIFY(report);
        QTEST(report->signal, "signal");
    }
};

QTEST_APPLESS_MAIN(TestStatusReply)
#include "tst_statusreply.moc"
