#include "link/configtext.h"
#include "link/readback.h"
#include "link/verifyreply.h"

#include "support/debugcapture.h"
#include "support/sampleforms.h"
#include "support/transferreplies.h"

#include <QTest>

namespace {

using ReadBack::Error;
using TransferReplies::linesOf;
using TransferReplies::storedFields;

QString padded(const QString &value) {
    return value.leftJustified(ConfigText::fieldWidth, ' ');
}

// The form before the read: row 2 with every right and output 4, every output bistable.
FormValues formBeforeRead() {
    FormValues form = SampleForms::filled();
    for (int index = 0; index < form.checks.size(); ++index)
        form.checks[index] = form.checkGroups.at(index).startsWith(QLatin1String("2."));
    for (int index = 0; index < form.radios.size(); ++index) {
        const QString &name = form.radioNames.at(index);
        if (name.startsWith(QLatin1String("r2_")))
            form.radios[index] = name == QLatin1String("r2_4");
        else if (name.startsWith('k') || name.startsWith('b'))
            form.radios[index] = name.startsWith('k');
    }
    return form;
}

bool radio(const FormValues &form, const QString &name) {
    return form.radios.at(form.radioNames.indexOf(name));
}
bool check(const FormValues &form, const QString &group) {
    return form.checks.at(form.checkGroups.indexOf(group));
}
QString edit(const FormValues &form, const QString &name) {
    return form.edits.at(form.editNames.indexOf(name));
}

LinkSettings checkedSettings(char checkSize) {
    LinkSettings settings;
    settings.checkValue = 1;
    settings.checkSize = checkSize;
    return settings;
}

} // namespace

class TestReadBack : public QObject {
    Q_OBJECT

private slots:
    void normaliseReply_data() {
        QTest::addColumn<QByteArray>("received");
        QTest::addColumn<QString>("text");

        QTest::newRow("CR LF") << QByteArray("a\r\nb\r\n") << "a|b|";
        QTest::newRow("LF alone") << QByteArray("a\nb") << "a|b";
        QTest::newRow("CR alone") << QByteArray("a\rb") << "a|b";
        QTest::newRow("LF CR is two ends") << QByteArray("a\n\rb") << "a||b";
        QTest::newRow("CR CR LF") << QByteArray("a\r\r\nb") << "a||b";
        QTest::newRow("0xFF is a space") << QByteArray("a\xff"
                                                       "b")
                                         << "a b";
        QTest::newRow("Latin-1") << QByteArray("\xe9\xa4") << "é¤";
        QTest::newRow("other separators stay") << QByteArray("a;b") << "a;b";
    }

    void normaliseReply() {
        QFETCH(QByteArray, received);
        QTEST(::normaliseReply(received), "text");
    }

    void repeatedLastByte() {
        QCOMPARE(withRepeatedLastByte(QByteArray()), QByteArray());
        QCOMPARE(withRepeatedLastByte("ab\n"), QByteArray("ab\n\n"));
    }

    void wellFormedReplyMapsEveryWidget() {
        const FormValues before = formBeforeRead();
        DebugCapture debug;
        const auto result = ReadBack::parse(linesOf(storedFields()), LinkSettings(), before);
        QVERIFY(debug.lines().isEmpty());
        QCOMPARE(result.error, Error::None);
        const FormValues &form = result.values;

        QCOMPARE(form.edits.mid(0, 7), QStringList({"36209300099", "0012", "0042", "Front gate", "1", "0005", "10"}));
        // Ringing 05: outputs 1 and 3 monostable.
        QVERIFY(radio(form, "b1") && !radio(form, "k1"));
        QVERIFY(!radio(form, "b2") && radio(form, "k2"));
        QVERIFY(radio(form, "b3") && !radio(form, "k3"));
        QVERIFY(!radio(form, "b4") && radio(form, "k4"));
        // Analog pairs.
        QCOMPARE(form.edits.mid(7, 12), QStringList({"5", "3", "8", "", "10", "0", "2", "0", "9", "9", "12", "5"}));
        for (int n = 17; n <= 44; ++n)
            QCOMPARE(form.edits.at(n + 2), QStringLiteral("Text %1").arg(n));
        // Phone rows.
        QCOMPARE(form.edits.mid(47), QStringList({"361234", "", "363012345678", "", "", "", "", ""}));
        QVERIFY(check(form, "2.1") && check(form, "2.2"));
        for (int column = 3; column <= 6; ++column)
            QVERIFY(!check(form, QStringLiteral("2.%1").arg(column)));
        QVERIFY(radio(form, "r2_1"));
        QVERIFY(!radio(form, "r2_4") && !radio(form, "r2_0"));
        QVERIFY(check(form, "3.1") && check(form, "3.6") && !check(form, "3.2"));
        QVERIFY(radio(form, "r3_3"));
        QVERIFY(radio(form, "r5_4") && !radio(form, "r5_0"));
        for (int column = 1; column <= 6; ++column)
            QVERIFY(check(form, QStringLiteral("8.%1").arg(column)));
        QVERIFY(radio(form, "r8_0"));
        QCOMPARE(form.editNames, before.editNames);
        QCOMPARE(form.checkGroups, before.checkGroups);
        QCOMPARE(form.radioNames, before.radioNames);
    }

    void downloadTextRoundTrip_data() {
        QTest::addColumn<QStringList>("analog"); // the twelve analog edits, abe1_lo to abe2_x_2
        QTest::addColumn<QStringList>("readBack");

        const QStringList sample = {"1", "5", "8", "0", "24", "9", "0", "1", "9", "9", "10", "0"};
        QTest::newRow("sample form") << sample << sample;
        const QStringList noDecimals = {"1", "", "8", "", "24", "", "0", "", "9", "", "10", ""};
        QTest::newRow("empty decimal digits") << noDecimals << noDecimals;
        const QStringList commas = {"1", ",", "8", ",", "24", ",", "0", ",", "9", ",", "10", ","};
        QTest::newRow("a comma as the decimal digit") << commas << commas;
        QTest::newRow("a space as the decimal digit: sent like an empty one")
            << QStringList{"1", " ", "8", "0", "24", " ", "0", "1", "9", "9", "10", "0"}
            << QStringList{"1", "", "8", "0", "24", "", "0", "1", "9", "9", "10", "0"};
        QTest::newRow("one-digit maximum voltage comes back padded")
            << QStringList{"1", "5", "8", "0", "7", "", "0", "1", "9", "9", "5", "3"}
            << QStringList{"1", "5", "8", "0", "07", "", "0", "1", "9", "9", "05", "3"};
    }

    // What a download sends, read back and sent again, is the same text.
    void downloadTextRoundTrip() {
        QFETCH(QStringList, analog);
        QFETCH(QStringList, readBack);
        FormValues form = SampleForms::roundTrip();
        for (int index = 0; index < analog.size(); ++index)
            form.edits[form.editNames.indexOf("abe1_lo") + index] = analog.at(index);
        const auto composed = ConfigText::compose(form, '|', true);
        QCOMPARE(composed.problem, ConfigText::Problem::None);
        const auto result = ReadBack::parse(linesOf(composed.text.split('|')), LinkSettings(), FormValues::defaults());
        QCOMPARE(result.error, Error::None);
        FormValues expected = form;
        for (int index = 0; index < readBack.size(); ++index)
            expected.edits[form.editNames.indexOf("abe1_lo") + index] = readBack.at(index);
        QCOMPARE(result.values, expected);
        QCOMPARE(ConfigText::compose(result.values, '|', true).text, composed.text);
    }

    void replyVariants_data() {
        QTest::addColumn<QByteArray>("reply");
        QTest::addColumn<char>("uploadSeparator");
        QTest::addColumn<QString>("name"); // what m_nev reads
        QTest::addColumn<QString>("t8");

        const QStringList fields = storedFields();
        QStringList withFF = fields;
        withFF[3] = QStringLiteral("Front\xff gate\xff\xff");
        QTest::newRow("0xFF becomes a space, stripped at the end") << linesOf(withFF) << '|' << "Front  gate"
                                                                   << "";
        QTest::newRow("line feeds only") << fields.join('\n').toLatin1() + '\n'
                                         << '|' << "Front gate"
                                         << "";
        QTest::newRow("joined by the upload separator") << fields.join(';').toLatin1() + ';' << ';' << "Front gate"
                                                        << "";

        QStringList fullPhone = fields;
        fullPhone[55] = QStringLiteral("0012345678901234");
        QTest::newRow("no line end: last digit not repeated") << linesOf(fullPhone).chopped(2) << '|' << "Front gate"
                                                              << "12345678901234";
        QTest::newRow("leading spaces stay")
            << linesOf(fields).replace("Front gate", "  Front gate") << '|' << "  Front gate"
            << "";
    }

    void replyVariants() {
        QFETCH(QByteArray, reply);
        QFETCH(char, uploadSeparator);
        LinkSettings settings;
        settings.uploadSeparator = uploadSeparator;
        const auto result = ReadBack::parse(reply, settings, formBeforeRead());
        QCOMPARE(result.error, Error::None);
        QTEST(edit(result.values, "m_nev"), "name");
        QTEST(edit(result.values, "t8"), "t8");
    }

    void failures_data() {
        QTest::addColumn<QByteArray>("reply");
        QTest::addColumn<char>("uploadSeparator");
        QTest::addColumn<Error>("error");
        QTest::addColumn<QString>("debug");

        const QStringList fields = storedFields();
        QTest::newRow("silent module") << QByteArray() << '|' << Error::Separator << "sep error";
        QTest::newRow("no line end, no separator") << QByteArray("abc") << '|' << Error::Separator << "sep error";
        QTest::newRow("line ends but another separator") << linesOf(fields) << ';' << Error::Separator << "sep error";
        QTest::newRow("55 fields") << linesOf(fields.mid(0, 55)) << '|' << Error::Count << "dberror";
        QTest::newRow("57 fields") << linesOf(fields + QStringList{"extra"}) << '|' << Error::Count << "dberror";

        QStringList blankText = fields;
        blankText[20] = padded("");
        QTest::newRow("a text sent as spaces: 49 parts") << linesOf(blankText) << '|' << Error::Count << "dberror";

        QStringList filledReserved = fields;
        filledReserved[45] = padded("x");
        QTest::newRow("a reserved field not blank: 51 parts")
            << linesOf(filledReserved) << '|' << Error::Count << "dberror";

        QStringList shortRow = fields;
        shortRow[44] = QString();
        QTest::newRow("empty line drops a field") << linesOf(shortRow) << '|' << Error::Count << "dberror";
    }

    void failures() {
        QFETCH(QByteArray, reply);
        QFETCH(char, uploadSeparator);
        QFETCH(QString, debug);
        LinkSettings settings;
        settings.uploadSeparator = uploadSeparator;
        const FormValues before = formBeforeRead();

        DebugCapture capture;
        const auto result = ReadBack::parse(reply, settings, before);
        QTEST(result.error, "error");
        QCOMPARE(capture.lines(), QStringList{debug});
        QCOMPARE(result.values, before);
    }

    void phoneRowOddCharacters_data() {
        QTest::addColumn<QString>("field");
        QTest::addColumn<QList<bool>>("rights");  // columns 1 to 6 of row 1
        QTest::addColumn<QList<bool>>("outputs"); // r1_0 .. r1_4

        const QList<bool> none = {false, false, false, false, false, false};
        QTest::newRow("mask 33, output 3") << "Q3" << QList<bool>{true, false, false, false, false, true}
                                           << QList<bool>{false, false, false, true, false};
        QTest::newRow("output 7 is carried by no radio")
            << "07" << none << QList<bool>{false, false, false, false, false};
        QTest::newRow("colon is 10") << "0:" << none << QList<bool>{false, false, false, false, false};
        QTest::newRow("one character names no output") << "1" << QList<bool>{true, false, false, false, false, false}
                                                       << QList<bool>{false, false, false, false, false};
    }

    void phoneRowOddCharacters() {
        QFETCH(QString, field);
        QFETCH(QList<bool>, rights);
        QFETCH(QList<bool>, outputs);
        QStringList fields = storedFields();
        fields[48] = field;
        const auto result = ReadBack::parse(linesOf(fields), LinkSettings(), formBeforeRead());
        QCOMPARE(result.error, Error::None);
        for (int column = 1; column <= 6; ++column)
            QCOMPARE(check(result.values, QStringLiteral("1.%1").arg(column)), rights.at(column - 1));
        for (int output = 0; output <= 4; ++output)
            QCOMPARE(radio(result.values, QStringLiteral("r1_%1").arg(output)), outputs.at(output));
        QCOMPARE(edit(result.values, "t1"), QString());
    }

    void checkPart_data() {
        QTest::addColumn<QByteArray>("reply");
        QTest::addColumn<char>("checkSize");
        QTest::addColumn<Error>("error");
        QTest::addColumn<QStringList>("debug");

        const QStringList fields = storedFields();
        // The sum runs over every field as sent, plus one '|' per field.
        qint32 sum = 0;
        for (const QString &field : fields) {
            for (QChar c : field)
                sum += qint8(c.toLatin1());
            sum += '|';
        }
        for (int size = 0; size < 4; ++size) {
            const QByteArray check = QByteArray::number(sum % (8 * (size + 1)));
            QTest::newRow(qPrintable(QStringLiteral("right remainder, size %1").arg(size)))
                << linesOf(fields, check + "\r\n") << char(size) << Error::None << QStringList();
        }
        const QByteArray wrong = QByteArray::number(sum % 8 + 1);
        QTest::newRow("wrong remainder") << linesOf(fields, wrong + "\r\n") << char(0) << Error::Check
                                         << QStringList{"chks error"};
        QTest::newRow("check missing: last field taken as the check")
            << linesOf(fields) << char(0) << Error::Check << QStringList{"chks error"};
        QTest::newRow("check as a download suffix on the last field")
            << linesOf(fields).chopped(2) + QByteArray::number(sum % 8) + "\r\n"
            << char(0) << Error::Check << QStringList{"chks error"};
        QTest::newRow("right character") << linesOf(fields, "X\r\n") << 'X' << Error::None << QStringList();
        QTest::newRow("wrong character, no debug text")
            << linesOf(fields, "Y\r\n") << 'X' << Error::Check << QStringList();
        QTest::newRow("nothing left") << QByteArray("\r\n") << char(1) << Error::Check << QStringList{"chks error"};
        QTest::newRow("nothing left, character") << QByteArray("\r\n") << 'X' << Error::Check << QStringList();
        // Six times -23 plus '|' is -14: the check part is -6, accepted; the count then fails.
        QTest::newRow("negative sum") << QByteArray("\xe9\xe9\xe9\xe9\xe9\xe9\r\n-6\r\n") << char(0) << Error::Count
                                      << QStringList{"dberror"};
        QTest::newRow("check part counted with the fields") << linesOf(fields, "X\r\n"
                                                                               "X\r\n")
                                                            << 'X' << Error::Count << QStringList{"dberror"};
    }

    void checkPart() {
        QFETCH(QByteArray, reply);
        QFETCH(char, checkSize);
        const FormValues before = formBeforeRead();
        DebugCapture debug;
        const auto result = ReadBack::parse(reply, checkedSettings(checkSize), before);
        QTEST(result.error, "error");
        QTEST(debug.lines(), "debug");
        if (result.error == Error::None)
            QCOMPARE(edit(result.values, "m_nev"), QStringLiteral("Front gate"));
        else
            QCOMPARE(result.values, before);
    }

    void checkOffIgnoresACheckLine() {
        DebugCapture debug;
        const auto result = ReadBack::parse(linesOf(storedFields(), "7\r\n"), LinkSettings(), formBeforeRead());
        QCOMPARE(result.error, Error::Count);
        QCOMPARE(debug.lines(), QStringList{"dberror"});
    }

    void verifyReply_data() {
        QTest::addColumn<QByteArray>("received"); // without the repeated last byte
        QTest::addColumn<char>("downloadSeparator");
        QTest::addColumn<bool>("matches");

        const FormValues form = SampleForms::roundTrip();
        const QStringList fields = TransferReplies::fieldsOf(form);
        QTest::newRow("56 lines and two characters") << linesOf(fields, "ok") << '|' << true;
        QTest::newRow("56 lines alone") << linesOf(fields) << '|' << false;
        QTest::newRow("56 lines and three characters") << linesOf(fields, "abc") << '|' << false;
        QTest::newRow("other download separator") << linesOf(fields, "ok") << '#' << false;
        QTest::newRow("silent module") << QByteArray() << '|' << false;

        QStringList changed = fields;
        changed[20].replace(0, 1, QLatin1Char('x'));
        QTest::newRow("one character differs") << linesOf(changed, "ok") << '|' << false;

        QStringList withFF = fields;
        withFF[3].replace(QLatin1Char(' '), QChar(0xFF));
        QTest::newRow("0xFF reads as a space") << linesOf(withFF, "ok") << '|' << true;
    }

    void verifyReply() {
        QFETCH(QByteArray, received);
        QFETCH(char, downloadSeparator);
        const QString composed = ConfigText::compose(SampleForms::roundTrip(), downloadSeparator, false).text;
        QVERIFY(!composed.isEmpty());
        QTEST(verifyReplyMatches(withRepeatedLastByte(received), composed), "matches");
    }

    void verifyShortReplies() {
        QVERIFY(verifyReplyMatches("abcd", QString()));
        QVERIFY(!verifyReplyMatches("abcd", QStringLiteral("a")));
        QVERIFY(verifyReplyMatches("abcde", QStringLiteral("a")));
    }
};

QTEST_APPLESS_MAIN(TestReadBack)
#include "tst_readback.moc"
