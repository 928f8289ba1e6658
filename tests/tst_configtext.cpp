#include "link/configtext.h"

#include "support/debugcapture.h"
#include "support/sampleforms.h"

#include <QTest>

namespace {

using ConfigText::Problem;

// Field n (from 1) of a text joined by single separators, padding included.
QString fieldOf(const QString &text, int n) {
    return text.mid((n - 1) * (ConfigText::fieldWidth + 1), ConfigText::fieldWidth);
}

// Changes are edit name, text, ...; "check:R.C" checks the rights box of that group; "radio:NAME"
// checks that radio and unchecks the others of its exclusive group.
FormValues formWith(const QStringList &changes) {
    FormValues form = SampleForms::filled();
    for (int index = 0; index + 1 < changes.size(); index += 2) {
        const QString &key = changes.at(index);
        const QString &value = changes.at(index + 1);
        if (key == QLatin1String("check")) {
            form.checks[form.checkGroups.indexOf(value)] = true;
        } else if (key == QLatin1String("radio")) {
            const QString group = value.startsWith('r') ? value.left(3) : value.mid(1);
            for (int radio = 0; radio < form.radioNames.size(); ++radio) {
                const QString &name = form.radioNames.at(radio);
                const bool sameGroup = value.startsWith('r') ? name.startsWith(group) : name.mid(1) == group;
                if (sameGroup)
                    form.radios[radio] = name == value;
            }
        } else {
            const int edit = form.editNames.indexOf(key);
            Q_ASSERT(edit >= 0);
            form.edits[edit] = value;
        }
    }
    return form;
}

QString padded(const QString &value) {
    return value.leftJustified(ConfigText::fieldWidth, ' ');
}

} // namespace

class TestConfigText : public QObject {
    Q_OBJECT

private slots:
    void defaultsFilledIn() {
        DebugCapture debug;
        const auto result = ConfigText::compose(SampleForms::filled(), '|', true, true);
        QCOMPARE(result.problem, Problem::None);
        QCOMPARE(result.editIndex, -1);
        QCOMPARE(result.text.size(), 951);
        const QStringList fields = result.text.split('|');
        QCOMPARE(fields.size(), ConfigText::fieldCount);
        for (const QString &field : fields)
            QCOMPARE(field.size(), ConfigText::fieldWidth);
        QCOMPARE(fields.at(0), padded("36309888000"));
        QCOMPARE(fields.at(1), padded("1234"));
        QCOMPARE(fields.at(7), padded("15"));
        QCOMPARE(fields.at(10), padded("10,0"));
        QCOMPARE(fields.at(14), padded(""));
        QCOMPARE(fields.at(15), padded(""));
        QCOMPARE(fields.at(16), padded("Text 19"));
        QCOMPARE(fields.at(43), padded("Text 46"));
        for (int reserved = 44; reserved < 48; ++reserved)
            QCOMPARE(fields.at(reserved), padded(""));
        for (int row = 48; row < 56; ++row)
            QCOMPARE(fields.at(row), padded("00"));
        QVERIFY(debug.lines().isEmpty());
    }

    void fields_data() {
        QTest::addColumn<QStringList>("changes");
        QTest::addColumn<char>("separator");
        QTest::addColumn<int>("field");
        QTest::addColumn<QString>("value");

        QTest::newRow("PIN 7") << QStringList{"m_pin", "7"} << '|' << 2 << "0007";
        QTest::newRow("ID 12") << QStringList{"m_id", "12"} << '|' << 3 << "0012";
        QTest::newRow("name unpadded by zeros") << QStringList{"m_nev", "7"} << '|' << 4 << "7";
        QTest::newRow("relay time 5") << QStringList{"rele_time", "5"} << '|' << 6 << "0005";
        QTest::newRow("SMS limit not zero-padded") << QStringList{"maxsms", "5"} << '|' << 7 << "5";
        QTest::newRow("5 and empty decimal") << QStringList{"abe1_lo", "5"} << '|' << 9 << "05,";
        QTest::newRow("5 and 3") << QStringList{"abe1_lo", "5", "abe1_lo_2", "3"} << '|' << 9 << "05,3";
        QTest::newRow("A1 high") << QStringList{"abe1_hi", "9", "abe1_hi_2", "9"} << '|' << 10 << "09,9";
        QTest::newRow("A2 maximum") << QStringList{"abe2_x", "12", "abe2_x_2", "5"} << '|' << 14 << "12,5";
        QTest::newRow("spaces only are a value") << QStringList{"m_nev", "   "} << '|' << 4 << "";
        QTest::newRow("currency sign passes") << QStringList{"be_a1_nev", "5 ¤"} << '|' << 23 << "5 ¤";
        QTest::newRow("separator inside a field") << QStringList{"be1_nev", "a;b"} << ';' << 25 << "a;b";
        QTest::newRow("first text field") << QStringList{"abe1_lo_msg", "Low"} << '|' << 17 << "Low";
        QTest::newRow("last text field") << QStringList{"ki4_off", "Off 4"} << '|' << 44 << "Off 4";
        QTest::newRow("ringing all bistable")
            << QStringList{"radio", "k1", "radio", "k2", "radio", "k3", "radio", "k4"} << '|' << 8 << "00";
        QTest::newRow("ringing output 2 bistable") << QStringList{"radio", "k2"} << '|' << 8 << "13";
        QTest::newRow("ringing output 4 bistable") << QStringList{"radio", "k4"} << '|' << 8 << "07";
        QTest::newRow("empty phone") << QStringList() << '|' << 49 << "00";
        QTest::newRow("full phone") << QStringList{"t8", "36301234567890"} << '|' << 56 << "0036301234567890";
        QTest::newRow("row 1 rights 1.1 and 1.6, output 3")
            << QStringList{"check", "1.1", "check", "1.6", "radio", "r1_3", "t1", "123"} << '|' << 49 << "Q3123";
        QTest::newRow("row 8 every right") << QStringList{"check", "8.1", "check", "8.2", "check", "8.3",
                                                          "check", "8.4", "check", "8.5", "check", "8.6"}
                                           << '|' << 56 << "o0";
        QTest::newRow("row 5 A1 right and output 4")
            << QStringList{"check", "5.5", "radio", "r5_4"} << '|' << 53 << "@4";
        QTest::newRow("rights of one row leave another alone") << QStringList{"check", "2.3"} << '|' << 51 << "00";
        QTest::newRow("accent in a phone is not tested") << QStringList{"t2", "é"} << '|' << 50 << "00é";
        QTest::newRow("other separator") << QStringList() << '#' << 8 << "15";
    }

    void fields() {
        QFETCH(QStringList, changes);
        QFETCH(char, separator);
        QFETCH(int, field);
        QFETCH(QString, value);

        const auto result = ConfigText::compose(formWith(changes), separator, true);
        QCOMPARE(result.problem, Problem::None);
        QCOMPARE(result.text.size(), 951);
        QCOMPARE(fieldOf(result.text, field), padded(value));
        for (int n = 1; n < ConfigText::fieldCount; ++n)
            QCOMPARE(result.text.at(n * (ConfigText::fieldWidth + 1) - 1), QLatin1Char(separator));
    }

    void problems_data() {
        QTest::addColumn<QStringList>("changes");
        QTest::addColumn<char>("separator");
        QTest::addColumn<bool>("testGreaterThanZero");
        QTest::addColumn<Problem>("problem");
        QTest::addColumn<QString>("edit"); // the edit named by editIndex, empty for -1

        QTest::newRow("empty relay time")
            << QStringList{"rele_time", ""} << '|' << true << Problem::GreaterThanZero << "rele_time";
        QTest::newRow("empty relay time, verify")
            << QStringList{"rele_time", ""} << '|' << false << Problem::AllInputs << "";
        QTest::newRow("relay time 0") << QStringList{"rele_time", "0"} << '|' << true << Problem::GreaterThanZero
                                      << "rele_time";
        QTest::newRow("relay time 0, verify") << QStringList{"rele_time", "0"} << '|' << false << Problem::None << "";
        QTest::newRow("SMS limit 0") << QStringList{"maxsms", "0"} << '|' << true << Problem::GreaterThanZero
                                     << "maxsms";
        QTest::newRow("SMS limit not a number")
            << QStringList{"maxsms", "x"} << '|' << true << Problem::GreaterThanZero << "maxsms";
        QTest::newRow("SMS limit with spaces around")
            << QStringList{"maxsms", " 3 "} << '|' << true << Problem::None << "";
        QTest::newRow("empty PIN before relay time 0")
            << QStringList{"m_pin", "", "rele_time", "0"} << '|' << true << Problem::AllInputs << "";
        QTest::newRow("SMS limit 0 before empty analog")
            << QStringList{"maxsms", "0", "abe1_lo", ""} << '|' << true << Problem::GreaterThanZero << "maxsms";
        QTest::newRow("empty SMS centre") << QStringList{"smskp", ""} << '|' << true << Problem::AllInputs << "";
        QTest::newRow("empty restore flag")
            << QStringList{"visszaallas", ""} << '|' << true << Problem::AllInputs << "";
        QTest::newRow("empty analog integer")
            << QStringList{"abe1_lo", ""} << '|' << true << Problem::AllInputs << "abe1_lo";
        QTest::newRow("empty analog decimal passes")
            << QStringList{"abe1_x_2", ""} << '|' << true << Problem::None << "";
        QTest::newRow("empty A2 maximum") << QStringList{"abe2_x", ""} << '|' << true << Problem::AllInputs << "abe2_x";
        QTest::newRow("empty input name")
            << QStringList{"be1_nev", ""} << '|' << true << Problem::AllInputs << "be1_nev";
        QTest::newRow("empty last text") << QStringList{"ki4_off", ""} << '|' << false << Problem::AllInputs
                                         << "ki4_off";
        QTest::newRow("first empty field decides")
            << QStringList{"ki1_on", "", "abe2_hi", ""} << '|' << true << Problem::AllInputs << "abe2_hi";
        QTest::newRow("accent in a name") << QStringList{"m_nev", "é"} << '|' << true << Problem::SevenBit << "";
        QTest::newRow("accent in the SMS centre")
            << QStringList{"smskp", "3é"} << '|' << false << Problem::SevenBit << "";
        QTest::newRow("outside Latin-1") << QStringList{"be2_on_msg", QString(QChar(0x3A9))} << '|' << true
                                         << Problem::SevenBit << "";
        QTest::newRow("NUL") << QStringList{"ki1_on", QString(QChar(0))} << '|' << true << Problem::SevenBit << "";
        QTest::newRow("emptiness before characters")
            << QStringList{"m_nev", "é", "ki4_off", ""} << '|' << true << Problem::AllInputs << "ki4_off";
        QTest::newRow("greater than zero before characters")
            << QStringList{"m_nev", "é", "maxsms", "0"} << '|' << true << Problem::GreaterThanZero << "maxsms";
        QTest::newRow("8-bit separator") << QStringList() << '\xe9' << true << Problem::SevenBit << "";
        QTest::newRow("currency separator") << QStringList() << '\xa4' << true << Problem::None << "";
        QTest::newRow("empty phones pass") << QStringList{"t1", "", "t8", ""} << '|' << true << Problem::None << "";
    }

    void problems() {
        QFETCH(QStringList, changes);
        QFETCH(char, separator);
        QFETCH(bool, testGreaterThanZero);
        QFETCH(Problem, problem);
        QFETCH(QString, edit);

        const auto result = ConfigText::compose(formWith(changes), separator, testGreaterThanZero);
        QCOMPARE(result.problem, problem);
        QCOMPARE(FormLayout::editNames().value(result.editIndex), edit);
        if (problem != Problem::None)
            QVERIFY(result.text.isEmpty());
    }

    void emptyFieldNamedInDebugOnlyWhenAsked() {
        const FormValues form = formWith({"abe1_vissza", ""});
        {
            DebugCapture debug;
            QCOMPARE(ConfigText::compose(form, '|', true, true).problem, Problem::AllInputs);
            QCOMPARE(debug.lines(), QStringList{"\"abe1_vissza\""});
        }
        {
            DebugCapture debug;
            QCOMPARE(ConfigText::compose(form, '|', false).problem, Problem::AllInputs);
            QVERIFY(debug.lines().isEmpty());
        }
        {
            DebugCapture debug; // fields 1 to 7 are not named
            QCOMPARE(ConfigText::compose(formWith({"m_nev", ""}), '|', true, true).problem, Problem::AllInputs);
            QVERIFY(debug.lines().isEmpty());
        }
    }

    void unreadableGroupsAndRadioNames() {
        FormValues form = formWith({"check", "3.2", "check", "1.1", "radio", "r3_2"});
        form.checkGroups[form.checkGroups.indexOf("3.2")] = QStringLiteral("3.x");
        form.radioNames[form.radioNames.indexOf("r3_2")] = QStringLiteral("r3_y");
        DebugCapture debug;
        const auto result = ConfigText::compose(form, '|', true);
        QCOMPARE(debug.lines(), QStringList({"toInt error.", "toInt error."}));
        QCOMPARE(result.problem, Problem::None);
        QCOMPARE(fieldOf(result.text, 49), padded("10"));
        QCOMPARE(fieldOf(result.text, 51), padded("00"));
    }

    void checkSuffix_data() {
        QTest::addColumn<QString>("text");
        QTest::addColumn<char>("checkSize");
        QTest::addColumn<QString>("suffix");

        QTest::newRow("ABC|, sum 322, modulo 8") << "AB|C" << char(0) << "2";
        QTest::newRow("ABC|, sum 322, modulo 16") << "AB|C" << char(1) << "2";
        QTest::newRow("ABC|, sum 322, modulo 24") << "AB|C" << char(2) << "10";
        QTest::newRow("ABC|, sum 322, modulo 32") << "AB|C" << char(3) << "2";
        QTest::newRow("one more than a multiple of 32") << "A" << char(3) << "1";
        QTest::newRow("empty text") << "" << char(0) << "0";
        QTest::newRow("fixed character X") << "AB|C" << 'X' << "X";
        QTest::newRow("fixed character 4") << "AB|C" << char(4) << QString(QChar(4));
        QTest::newRow("fixed currency sign") << "AB|C" << '\xa4' << "¤";
        QTest::newRow("negative sum -23 modulo 8") << "é" << char(0) << "-7";
        QTest::newRow("negative sum -23 modulo 24") << "é" << char(2) << "-23";
        QTest::newRow("negative sum -46 modulo 16") << "éé" << char(1) << "-14";
        QTest::newRow("negative sum -46 modulo 32") << "éé" << char(3) << "-14";
        QTest::newRow("outside Latin-1 counts 0") << QString("A") + QChar(0x3A9) << char(0) << "1";
        QTest::newRow("mixed signs") << "é~" << char(1) << "7"; // -23 + 126 = 103
    }

    void checkSuffix() {
        QFETCH(QString, text);
        QFETCH(char, checkSize);
        QTEST(ConfigText::checkSuffix(text, checkSize), "suffix");
    }
};

QTEST_APPLESS_MAIN(TestConfigText)
#include "tst_configtext.moc"
