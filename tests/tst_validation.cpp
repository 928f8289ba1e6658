#include "mainwindow/formvalues.h"
#include "mainwindow/smscentre.h"
#include "mainwindow/validation.h"

#include <QTest>

namespace {

// The form's default texts with the given edits changed; changes are name, text, name, text, ...
QStringList textsWith(const QStringList &changes) {
    const FormValues defaults = FormValues::defaults();
    QStringList texts = defaults.edits;
    for (int index = 0; index + 1 < changes.size(); index += 2) {
        const int edit = defaults.editNames.indexOf(changes.at(index));
        Q_ASSERT(edit >= 0);
        texts[edit] = changes.at(index + 1);
    }
    return texts;
}

QStringList namesOf(const QList<int> &indexes) {
    QStringList names;
    for (int index : indexes)
        names << FormLayout::editNames().value(index);
    return names;
}

constexpr int noFailure = -1;

} // namespace

class TestValidation : public QObject {
    Q_OBJECT

private slots:
    void checkEdits_data() {
        QTest::addColumn<QStringList>("changes");
        QTest::addColumn<int>("message");
        QTest::addColumn<QStringList>("cleared");
        QTest::addColumn<QString>("focused");

        const int onlyNumbers = ValidationFailure::OnlyNumbers;
        const int range = ValidationFailure::Range;
        const int sevenBit = ValidationFailure::SevenBit;
        const int zeroOrOne = ValidationFailure::ZeroOrOne;
        const int phone = ValidationFailure::PhoneNumber;
        const QString nul(QChar(0));
        const QString omega(QChar(0x3A9));

        QTest::newRow("form defaults") << QStringList() << noFailure << QStringList() << QString();

        // Numeric edits.
        QTest::newRow("pin with a letter")
            << QStringList{"m_pin", "12a4"} << onlyNumbers << QStringList{"m_pin"} << "m_pin";
        QTest::newRow("pin with a space") << QStringList{"m_pin", "12 4"} << noFailure << QStringList() << QString();
        QTest::newRow("sms centre with plus")
            << QStringList{"smskp", "+36309888000"} << onlyNumbers << QStringList{"smskp"} << "smskp";
        QTest::newRow("id with minus") << QStringList{"m_id", "-1"} << onlyNumbers << QStringList{"m_id"} << "m_id";
        QTest::newRow("relay time with accent")
            << QStringList{"rele_time", "1é"} << onlyNumbers << QStringList{"rele_time"} << "rele_time";
        QTest::newRow("sms limit with point")
            << QStringList{"maxsms", "1."} << onlyNumbers << QStringList{"maxsms"} << "maxsms";
        QTest::newRow("sms limit 0 is not tested here")
            << QStringList{"maxsms", "0"} << noFailure << QStringList() << QString();

        // Analog values: integer edit and its decimal-digit edit.
        QTest::newRow("0,0 refused") << QStringList{"abe1_lo", "0", "abe1_lo_2", "0"} << range
                                     << QStringList{"abe1_lo", "abe1_lo_2"} << "abe1_lo";
        QTest::newRow("0,5 passes") << QStringList{"abe1_lo", "0", "abe1_lo_2", "5"} << noFailure << QStringList()
                                    << QString();
        QTest::newRow("0 and empty decimal passes")
            << QStringList{"abe1_lo", "0"} << noFailure << QStringList() << QString();
        QTest::newRow("9,9 passes") << QStringList{"abe2_hi", "9", "abe2_hi_2", "9"} << noFailure << QStringList()
                                    << QString();
        QTest::newRow("letter in integer edit")
            << QStringList{"abe1_hi", "a"} << onlyNumbers << QStringList{"abe1_hi"} << "abe1_hi";
        QTest::newRow("letter in its decimal edit")
            << QStringList{"abe1_hi", "1", "abe1_hi_2", "x"} << onlyNumbers << QStringList{"abe1_hi_2"} << "abe1_hi_2";
        QTest::newRow("letters in both, focus ends on the decimal")
            << QStringList{"abe2_lo", "a", "abe2_lo_2", "b"} << onlyNumbers << QStringList{"abe2_lo", "abe2_lo_2"}
            << "abe2_lo_2";
        QTest::newRow("spaces are digits, value 0 refused") << QStringList{"abe1_lo", " ", "abe1_lo_2", " "} << range
                                                            << QStringList{"abe1_lo", "abe1_lo_2"} << "abe1_lo";
        QTest::newRow("default maximum voltage 10,0")
            << QStringList{"abe1_x", "10", "abe1_x_2", "0"} << noFailure << QStringList() << QString();
        QTest::newRow("maximum voltage 99,9")
            << QStringList{"abe2_x", "99", "abe2_x_2", "9"} << noFailure << QStringList() << QString();
        QTest::newRow("maximum voltage 00,0 from a file")
            << QStringList{"abe1_x", "00", "abe1_x_2", "0"} << range << QStringList{"abe1_x", "abe1_x_2"} << "abe1_x";
        QTest::newRow("A2 maximum voltage 0,0")
            << QStringList{"abe2_x", "0", "abe2_x_2", "0"} << range << QStringList{"abe2_x", "abe2_x_2"} << "abe2_x";
        QTest::newRow("letter in maximum decimal, integer empty: text rule")
            << QStringList{"abe1_x", "", "abe1_x_2", "a"} << noFailure << QStringList() << QString();
        QTest::newRow("letter in maximum decimal, integer 10")
            << QStringList{"abe1_x", "10", "abe1_x_2", "a"} << onlyNumbers << QStringList{"abe1_x_2"} << "abe1_x_2";
        QTest::newRow("accent in maximum decimal, integer empty")
            << QStringList{"abe2_x", "", "abe2_x_2", "é"} << sevenBit << QStringList{"abe2_x_2"} << "abe2_x_2";

        // A decimal-digit edit of an alert value is paired with the next value's integer edit.
        QTest::newRow("decimal 0 and next integer 0") << QStringList{"abe1_lo", "1", "abe1_lo_2", "0", "abe1_hi", "0"}
                                                      << range << QStringList{"abe1_lo_2", "abe1_hi"} << "abe1_lo_2";
        QTest::newRow("decimal 0 and next integer empty")
            << QStringList{"abe1_lo", "1", "abe1_lo_2", "0"} << noFailure << QStringList() << QString();
        QTest::newRow("decimal 0 and next integer 1")
            << QStringList{"abe1_lo", "1", "abe1_lo_2", "0", "abe1_hi", "1"} << noFailure << QStringList() << QString();
        QTest::newRow("decimal 0 before maximum 00") << QStringList{"abe2_hi", "1", "abe2_hi_2", "0", "abe2_x", "00"}
                                                     << range << QStringList{"abe2_hi_2", "abe2_x"} << "abe2_hi_2";
        QTest::newRow("decimal edit passes a letter on to the next integer")
            << QStringList{"abe1_hi", "1", "abe1_hi_2", "5", "abe1_x", "1x"} << onlyNumbers << QStringList{"abe1_x"}
            << "abe1_x";

        // Text edits.
        QTest::newRow("accented name") << QStringList{"m_nev", "Kút"} << sevenBit << QStringList{"m_nev"} << "m_nev";
        QTest::newRow("7-bit punctuation passes")
            << QStringList{"m_nev", "A-z 0_9 ~!?\x7f"} << noFailure << QStringList() << QString();
        QTest::newRow("NUL refused") << QStringList{"be1_nev", "a" + nul} << sevenBit << QStringList{"be1_nev"}
                                     << "be1_nev";
        QTest::newRow("outside Latin-1 refused")
            << QStringList{"abe1_vissza", omega} << sevenBit << QStringList{"abe1_vissza"} << "abe1_vissza";
        QTest::newRow("currency sign refused")
            << QStringList{"ki2_on", "¤"} << sevenBit << QStringList{"ki2_on"} << "ki2_on";
        QTest::newRow("last text edit") << QStringList{"ki4_off", "ö"} << sevenBit << QStringList{"ki4_off"}
                                        << "ki4_off";

        // Input-restore flag.
        QTest::newRow("restore 0") << QStringList{"visszaallas", "0"} << noFailure << QStringList() << QString();
        QTest::newRow("restore 1") << QStringList{"visszaallas", "1"} << noFailure << QStringList() << QString();
        QTest::newRow("restore 2") << QStringList{"visszaallas", "2"} << zeroOrOne << QStringList{"visszaallas"}
                                   << "visszaallas";
        QTest::newRow("restore accented: text rule first")
            << QStringList{"visszaallas", "é"} << sevenBit << QStringList{"visszaallas"} << "visszaallas";

        // Phone numbers.
        QTest::newRow("phone with plus") << QStringList{"t1", "+36301234567"} << phone << QStringList{"t1"} << "t1";
        QTest::newRow("phone with spaces")
            << QStringList{"t4", "30 123 4567"} << noFailure << QStringList() << QString();
        QTest::newRow("last phone with letter") << QStringList{"t8", "12a"} << phone << QStringList{"t8"} << "t8";

        // Only the first failure is reported.
        QTest::newRow("id before phone") << QStringList{"m_id", "x", "t3", "y"} << onlyNumbers << QStringList{"m_id"}
                                         << "m_id";
        QTest::newRow("list order decides")
            << QStringList{"m_nev", "é", "m_pin", "x"} << onlyNumbers << QStringList{"m_pin"} << "m_pin";
        QTest::newRow("two bad phones") << QStringList{"t5", "b", "t2", "a"} << phone << QStringList{"t2"} << "t2";
        QTest::newRow("phone alone after the id is fixed")
            << QStringList{"t3", "y"} << phone << QStringList{"t3"} << "t3";
    }

    void checkEdits() {
        QFETCH(QStringList, changes);
        QFETCH(int, message);

        const auto result = ::checkEdits(FormLayout::editNames(), textsWith(changes));
        if (message == noFailure) {
            QVERIFY2(!result, qPrintable(namesOf(result ? result->cleared : QList<int>()).join(',')));
            return;
        }
        QVERIFY(result);
        QCOMPARE(int(result->message), message);
        QTEST(namesOf(result->cleared), "cleared");
        QTEST(FormLayout::editNames().value(result->focused), "focused");
    }

    void everyEmptyEditPasses() {
        QVERIFY(!::checkEdits(FormLayout::editNames(), QList<QString>(FormValues::editCount)));
    }

    void smsCentreIndexForNumber_data() {
        QTest::addColumn<QString>("number");
        QTest::addColumn<int>("index");

        QTest::newRow("T-Mobile") << "36309888000" << 0;
        QTest::newRow("Telenor") << "36209300099" << 1;
        QTest::newRow("Vodafone") << "36709996500" << 2;
        QTest::newRow("empty") << "" << 3;
        QTest::newRow("space inside") << "36209 300099" << 3;
        QTest::newRow("trailing space") << "36709996500 " << 3;
        QTest::newRow("plus prefix") << "+36309888000" << 3;
        QTest::newRow("other number") << "36301234567" << 3;
    }

    void smsCentreIndexForNumber() {
        QFETCH(QString, number);
        QTEST(::smsCentreIndexForNumber(number), "index");
    }

    void smsCentreNumberForOperator_data() {
        QTest::addColumn<QString>("item");
        QTest::addColumn<QString>("number");

        QTest::newRow("T-Mobile") << "T-Mobile"
                                  << "36309888000";
        QTest::newRow("Telenor") << "Telenor"
                                 << "36209300099";
        QTest::newRow("Vodafone") << "Vodafone"
                                  << "36709996500";
        QTest::newRow("Other") << "Other"
                               << "";
        QTest::newRow("Egyéni") << "Egyéni"
                                << "";
        QTest::newRow("case differs") << "vodafone"
                                      << "";
        QTest::newRow("empty") << ""
                               << "";
    }

    void smsCentreNumberForOperator() {
        QFETCH(QString, item);
        QTEST(::smsCentreNumberForOperator(item), "number");
    }

    void presetsRoundTrip() {
        QCOMPARE(smsCentrePresets.size(), std::size_t(4));
        for (int index = 0; index < 3; ++index)
            QCOMPARE(::smsCentreIndexForNumber(::smsCentreNumberForOperator(smsCentrePresets[index].operatorName)),
                     index);
        QVERIFY(smsCentrePresets[3].number.isEmpty());
    }
};

QTEST_APPLESS_MAIN(TestValidation)
#include "tst_validation.moc"
