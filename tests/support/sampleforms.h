#pragma once

#include "mainwindow/formvalues.h"

namespace SampleForms {

// The form's defaults (no rights, every row on output 0, every output monostable) with every
// field that the configuration text requires filled in; the phone numbers stay empty.
inline FormValues filled() {
    FormValues form = FormValues::defaults();
    const auto set = [&form](const char *name, const char *text) {
        form.edits[form.editNames.indexOf(QLatin1String(name))] = QString::fromUtf8(text);
    };
    set("m_pin", "1234");
    set("m_id", "42");
    set("m_nev", "Gate");
    set("visszaallas", "1");
    set("rele_time", "5");
    set("maxsms", "10");
    set("abe1_lo", "1");
    set("abe1_hi", "8");
    set("abe2_lo", "2");
    set("abe2_hi", "9");
    for (int index = 19; index < 47; ++index)
        form.edits[index] = QStringLiteral("Text %1").arg(index);
    return form;
}

// A form that a download carries and a read-back restores unchanged: the padded values already
// padded, no trailing spaces, no text field of spaces only.
inline FormValues roundTrip() {
    FormValues form = SampleForms::filled();
    const auto set = [&form](const char *name, const QString &text) {
        form.edits[form.editNames.indexOf(QLatin1String(name))] = text;
    };
    set("smskp", "36701112223");
    set("m_pin", "9876");
    set("m_id", "0420");
    set("rele_time", "1200");
    set("maxsms", "7");
    const char *const analog[] = {"abe1_lo", "abe1_lo_2", "abe1_hi", "abe1_hi_2", "abe1_x", "abe1_x_2",
                                  "abe2_lo", "abe2_lo_2", "abe2_hi", "abe2_hi_2", "abe2_x", "abe2_x_2"};
    const char *const analogValues[] = {"1", "5", "8", "0", "24", "9", "0", "1", "9", "9", "10", "0"};
    for (int index = 0; index < 12; ++index)
        set(analog[index], QString::fromLatin1(analogValues[index]));
    set("be2_nev", "  lead spaces");
    set("ki3_on", QString::fromUtf8("a¤b"));
    for (int row = 1; row <= 8; ++row)
        set(qPrintable(QStringLiteral("t%1").arg(row)),
            row == 4 ? QString() : QStringLiteral("3630%1").arg(row * 1111));
    for (int index = 0; index < form.checks.size(); ++index)
        form.checks[index] = index % 3 != 1;
    for (int index = 0; index < form.radios.size(); ++index) {
        const QString &name = form.radioNames.at(index);
        if (name.startsWith('r')) {
            const int row = name.mid(1, 1).toInt();
            form.radios[index] = name.endsWith(QString::number(row % 5));
        } else {
            const bool monostable = name.endsWith('1') || name.endsWith('4');
            form.radios[index] = name.startsWith('b') ? monostable : !monostable;
        }
    }
    return form;
}

} // namespace SampleForms
