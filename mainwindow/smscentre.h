#pragma once

#include <QLatin1String>
#include <QString>

#include <array>

// The operator presets of the SMS-centre combo box, in the order of its items. The last entry is
// the manual entry ("Other"), whose item text differs between the builds and which has no number.
struct SmsCentrePreset {
    QLatin1String operatorName; // empty for the manual entry
    QLatin1String number;       // empty for the manual entry
};

inline constexpr int manualSmsCentreIndex = 3;

inline constexpr std::array<SmsCentrePreset, 4> smsCentrePresets = {{
    {QLatin1String("T-Mobile"), QLatin1String("36309888000")},
    {QLatin1String("Telenor"), QLatin1String("36209300099")},
    {QLatin1String("Vodafone"), QLatin1String("36709996500")},
    {QLatin1String(), QLatin1String()},
}};

// The combo-box index for an SMS-centre number: the operator whose number it is exactly, else the
// manual entry (3), the empty text included.
int smsCentreIndexForNumber(const QString &number);

// The SMS-centre number of an operator item text; empty for the manual entry or any other text.
QString smsCentreNumberForOperator(const QString &itemText);
