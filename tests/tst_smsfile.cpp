#include "configfile/smsfile.h"

#include <QTest>
#include <QTextStream>

namespace {

// A form in which every value differs from its neighbours and from the defaults.
FormValues sampleForm() {
    FormValues form = FormValues::defaults();
    for (int index = 0; index < form.edits.size(); ++index)
        form.edits[index] = QStringLiteral(" v%1 x ").arg(index);
    form.edits[3] = QStringLiteral("  ");
    form.edits[4] = QString();
    for (int index = 0; index < form.checks.size(); ++index)
        form.checks[index] = index % 3 == 0;
    for (int index = 0; index < form.radios.size(); ++index)
        form.radios[index] = index % 5 == 1;
    return form;
}

// 151 lines of the sample form, each ended by CR LF.
QString sampleFileText() {
    return SmsFile::toLines(sampleForm()).join(QStringLiteral("\r\n")) + QStringLiteral("\r\n");
}

QStringList readAll(QString text) {
    QTextStream in(&text);
    return SmsFile::readLines(in);
}

} // namespace

class TestSmsFile : public QObject {
    Q_OBJECT

private slots:
    void defaultsGiveTheFormListsInOrder() {
        const QStringList lines = SmsFile::toLines(FormValues::defaults());
        QCOMPARE(lines.size(), SmsFile::lineCount);
        QCOMPARE(lines.first(), QStringLiteral("36309888000")); // smskp
        QCOMPARE(lines.at(11), QStringLiteral("10"));           // abe1_x
        QCOMPARE(lines.at(12), QStringLiteral("0"));            // abe1_x_2
        QCOMPARE(lines.mid(55, 48), QStringList(48, QStringLiteral("0")));
        QCOMPARE(lines.at(103), QStringLiteral("0")); // r1_4
        QCOMPARE(lines.at(135), QStringLiteral("1")); // r1_0
        QCOMPARE(lines.at(143), QStringLiteral("0")); // k1
        QCOMPARE(lines.at(144), QStringLiteral("1")); // b1
        QCOMPARE(lines.last(), QStringLiteral("1"));  // b4
    }

    void writeEndsEveryLineWithCrLf() {
        QString text;
        QTextStream out(&text);
        SmsFile::write(out, {QStringLiteral("a b"), QString(), QStringLiteral("1")});
        out.flush();
        QCOMPARE(text, QStringLiteral("a b\r\n\r\n1\r\n"));
    }

    void roundTripRestoresEveryValue() {
        const FormValues form = sampleForm();
        QString text;
        QTextStream out(&text);
        SmsFile::write(out, SmsFile::toLines(form));
        out.flush();

        const auto loaded = SmsFile::fromLines(readAll(text));
        QVERIFY(loaded);
        QCOMPARE(loaded->edits, form.edits);
        QCOMPARE(loaded->checks, form.checks);
        QCOMPARE(loaded->radios, form.radios);
        QVERIFY(loaded->editNames.isEmpty());
        QVERIFY(loaded->checkGroups.isEmpty());
        QVERIFY(loaded->radioNames.isEmpty());
    }

    void readLines_data() {
        QTest::addColumn<QString>("text");
        QTest::addColumn<int>("lineCount");
        QTest::addColumn<bool>("accepted");

        const QString file = sampleFileText();
        QStringList lines = SmsFile::toLines(sampleForm());

        QTest::newRow("empty file is one empty line") << QString() << 1 << false;
        QTest::newRow("151 lines ended by CR LF") << file << 151 << true;
        QTest::newRow("no line end after the last line") << file.chopped(2) << 151 << true;
        QTest::newRow("line feeds only") << lines.join('\n') << 151 << true;
        QTest::newRow("extra empty line") << file + QStringLiteral("\r\n") << 152 << false;
        QTest::newRow("152 lines") << file + QStringLiteral("0\r\n") << 152 << false;
        QTest::newRow("150 lines") << QStringList(lines.mid(0, 150)).join(QStringLiteral("\r\n")) << 150 << false;

        QStringList endMarked = lines.mid(0, 150);
        endMarked << QStringLiteral("---") << QStringLiteral("ignored") << QStringLiteral("1");
        QTest::newRow("--- as line 151") << endMarked.join(QStringLiteral("\r\n")) << 151 << true;

        QStringList earlyMark = lines;
        earlyMark[99] = QStringLiteral("---");
        QTest::newRow("--- earlier") << earlyMark.join(QStringLiteral("\r\n")) << 100 << false;

        QStringList blankedMark = lines.mid(0, 150);
        blankedMark << QStringLiteral("--- ");
        QTest::newRow("--- with a space is a value") << blankedMark.join(QStringLiteral("\r\n")) << 151 << true;

        // A line of any length is read whole: the edits cut it.
        const QString longLine(5000, QLatin1Char('x'));
        const QStringList allLong(SmsFile::lineCount, longLine);
        QTest::newRow("151 lines of 5000 characters")
            << allLong.join(QStringLiteral("\r\n")) + QStringLiteral("\r\n") << 151 << true;
        QTest::newRow("long lines, line feeds only") << allLong.join('\n') << 151 << true;
        QStringList longAt = lines;
        longAt[99] = longLine;
        QTest::newRow("a long line") << longAt.join(QStringLiteral("\r\n")) << 151 << true;
        longAt = lines;
        longAt.last() = longLine;
        QTest::newRow("a long last line") << longAt.join(QStringLiteral("\r\n")) << 151 << true;

        // Reading stops one line after the most a file holds.
        QTest::newRow("one endless line") << QString(1 << 20, QLatin1Char('x')) << 1 << false;
        QTest::newRow("a hundred files in one") << file.repeated(100) << 152 << false;
    }

    void readLines() {
        QFETCH(QString, text);
        const QStringList lines = readAll(text);
        QTEST(int(lines.size()), "lineCount");
        QTEST(SmsFile::fromLines(lines).has_value(), "accepted");
        QVERIFY(text.startsWith(lines.join('\n')) || text.startsWith(lines.join(QStringLiteral("\r\n"))));
    }

    void endMarkerUnchecksTheLastRadio() {
        QStringList lines = SmsFile::toLines(FormValues::defaults());
        lines.last() = QStringLiteral("---");
        const auto loaded = SmsFile::fromLines(readAll(lines.join('\n') + QStringLiteral("\n1\n")));
        QVERIFY(loaded);
        QCOMPARE(loaded->radios.last(), false);
        QCOMPARE(loaded->radios.at(45), true); // b3
    }

    void stateLines_data() {
        QTest::addColumn<QString>("line");
        QTest::addColumn<bool>("checked");

        QTest::newRow("1") << "1" << true;
        QTest::newRow("0") << "0" << false;
        QTest::newRow("1 with a space after") << "1 " << false;
        QTest::newRow("1 with a space before") << " 1" << false;
        QTest::newRow("empty") << "" << false;
        QTest::newRow("word") << "true" << false;
        QTest::newRow("11") << "11" << false;
        QTest::newRow("1 with 2000 spaces after") << QStringLiteral("1") + QString(2000, QLatin1Char(' ')) << false;
    }

    void stateLines() {
        QFETCH(QString, line);
        QFETCH(bool, checked);
        QStringList lines = SmsFile::toLines(FormValues::defaults());
        lines[55] = line;  // tc4_7
        lines[104] = line; // r7_4
        const auto loaded = SmsFile::fromLines(lines);
        QVERIFY(loaded);
        QCOMPARE(loaded->checks.first(), checked);
        QCOMPARE(loaded->radios.at(1), checked);
    }

    void displayName_data() {
        QTest::addColumn<QString>("path");
        QTest::addColumn<QString>("name");

        QTest::newRow("default file") << "default_tkm-720.sms"
                                      << "default_tkm-720.sms";
        QTest::newRow("directory dropped") << "/home/user/configs/site.sms"
                                           << "site.sms";
        QTest::newRow("no point") << "/tmp/site"
                                  << "site.";
        QTest::newRow("several points") << "/tmp/site.v2.backup.sms"
                                        << "site.v2.backup.sms";
        QTest::newRow("point in the directory only") << "/tmp/dir.d/site"
                                                     << "site.";
    }

    void displayName() {
        QFETCH(QString, path);
        QTEST(SmsFile::displayName(path), "name");
    }
};

QTEST_APPLESS_MAIN(TestSmsFile)
#include "tst_smsfile.moc"
