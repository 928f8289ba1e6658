#include "smscentre.h"

int smsCentreIndexForNumber(const QString &number) {
    for (int index = 0; index < manualSmsCentreIndex; ++index) {
        if (number == smsCentrePresets[index].number)
            return index;
    }
    return manualSmsCentreIndex;
}

QString smsCentreNumberForOperator(const QString &itemText) {
    for (int index = 0; index < manualSmsCentreIndex; ++index) {
        if (itemText == smsCentrePresets[index].operatorName)
            return smsCentrePresets[index].number;
    }
    return QString();
}
