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

} // namespace SampleForms
