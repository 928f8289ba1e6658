#pragma once

#include <QList>
#include <QString>
#include <QStringList>

// The configuration form as plain data: the three form lists (edit list, check-box list, radio
// list) in their fixed order, which is also the order of the ".sms" file and of the device
// configuration text. Logic that needs no widget works on this.
struct FormValues {
    static constexpr int editCount = 55;
    static constexpr int checkCount = 48;
    static constexpr int radioCount = 48;
    static constexpr int phoneRows = 8;
    static constexpr int firstPhoneEdit = 47; // index of t1 in the edit list

    QStringList editNames;   // object names of the edit list
    QStringList edits;       // their texts
    QStringList checkGroups; // "group" property of each check box: row, '.', column
    QList<bool> checks;
    QStringList radioNames; // object names of the radio list
    QList<bool> radios;

    bool operator==(const FormValues &other) const = default;

    // The form as built, before any file is loaded: empty edits except the SMS centre and the
    // maximum voltages, no right checked, every phone row on output 0, every output monostable.
    static FormValues defaults();
};

// The fixed shape of the form lists, as the form builds them.
namespace FormLayout {
const QStringList &editNames();
const QStringList &checkNames();
const QStringList &checkGroups();
const QStringList &radioNames();
} // namespace FormLayout
