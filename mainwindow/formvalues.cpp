#include "formvalues.h"

namespace FormLayout {

const QStringList &editNames() {
    static const QStringList names = {
        "smskp",       "m_pin",       "m_id",        "m_nev",       "visszaallas", "rele_time",   "maxsms",
        "abe1_lo",     "abe1_lo_2",   "abe1_hi",     "abe1_hi_2",   "abe1_x",      "abe1_x_2",    "abe2_lo",
        "abe2_lo_2",   "abe2_hi",     "abe2_hi_2",   "abe2_x",      "abe2_x_2",    "abe1_lo_msg", "abe1_hi_msg",
        "abe1_vissza", "abe2_lo_msg", "abe2_hi_msg", "abe2_vissza", "be_a1_nev",   "be_a2_nev",   "be1_nev",
        "be2_nev",     "be3_nev",     "be4_nev",     "be1_on_msg",  "be2_on_msg",  "be3_on_msg",  "be4_on_msg",
        "be1_off_msg", "be2_off_msg", "be3_off_msg", "be4_off_msg", "ki1_on",      "ki2_on",      "ki3_on",
        "ki4_on",      "ki1_off",     "ki2_off",     "ki3_off",     "ki4_off",     "t1",          "t2",
        "t3",          "t4",          "t5",          "t6",          "t7",          "t8",
    };
    return names;
}

const QStringList &checkNames() {
    static const QStringList names = {
        "tc4_7",  "tc2_8",  "tc3_4",  "tc1_1",  "tc2_2",  "tc1_6",  "tc1_5",  "tc1_3",  "tc4_8",  "tc1_7",
        "tc3_2",  "tc4_1",  "tc2_3",  "tc4_6",  "tc1_4",  "tc1_8",  "tc4_5",  "tc2_5",  "tc3_7",  "tc1_2",
        "tc4_3",  "tc2_6",  "tc3_8",  "tc3_1",  "tc2_1",  "tc3_3",  "tc3_6",  "tc2_7",  "tc3_5",  "tc4_4",
        "tc2_4",  "tc4_2",  "tc1_9",  "tc1_10", "tc1_11", "tc1_12", "tc1_13", "tc1_14", "tc1_15", "tc1_16",
        "tc1_17", "tc1_18", "tc1_19", "tc1_20", "tc1_21", "tc1_22", "tc1_23", "tc1_24",
    };
    return names;
}

const QStringList &checkGroups() {
    static const QStringList groups = [] {
        // tcA_B (A = 1..4) stands for row B and digital input 5 - A; tc1_9 .. tc1_24 are the
        // analog columns, whose rows follow no rule.
        static const char *const analogRows = "54786132";
        QStringList result;
        for (const QString &name : checkNames()) {
            const QStringList numbers = name.mid(2).split(QLatin1Char('_'));
            const int a = numbers[0].toInt();
            const int b = numbers[1].toInt();
            if (b <= 8)
                result << QStringLiteral("%1.%2").arg(b).arg(5 - a);
            else
                result << QStringLiteral("%1.%2").arg(QChar::fromLatin1(analogRows[(b - 9) % 8])).arg(b <= 16 ? 5 : 6);
        }
        return result;
    }();
    return groups;
}

const QStringList &radioNames() {
    static const QStringList names = {
        "r1_4", "r7_4", "r4_4", "r7_2", "r6_1", "r1_3", "r5_4", "r2_2", "r6_3", "r8_4", "r2_4", "r4_2",
        "r1_1", "r8_3", "r6_2", "r3_1", "r2_3", "r8_1", "r3_3", "r5_1", "r4_3", "r6_4", "r1_2", "r7_3",
        "r7_1", "r3_2", "r5_2", "r5_3", "r8_2", "r3_4", "r2_1", "r4_1", "r1_0", "r4_0", "r2_0", "r7_0",
        "r8_0", "r6_0", "r3_0", "r5_0", "k1",   "b1",   "k2",   "b2",   "k3",   "b3",   "k4",   "b4",
    };
    return names;
}

} // namespace FormLayout

FormValues FormValues::defaults() {
    FormValues values;
    values.editNames = FormLayout::editNames();
    for (const QString &name : values.editNames) {
        if (name == QLatin1String("smskp"))
            values.edits << QStringLiteral("36309888000");
        else if (name == QLatin1String("abe1_x") || name == QLatin1String("abe2_x"))
            values.edits << QStringLiteral("10");
        else if (name == QLatin1String("abe1_x_2") || name == QLatin1String("abe2_x_2"))
            values.edits << QStringLiteral("0");
        else
            values.edits << QString();
    }
    values.checkGroups = FormLayout::checkGroups();
    values.checks = QList<bool>(checkCount, false);
    values.radioNames = FormLayout::radioNames();
    for (const QString &name : values.radioNames)
        values.radios << (name.endsWith(QLatin1String("_0")) || name.startsWith(QLatin1Char('b')));
    return values;
}
