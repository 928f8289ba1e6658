#include "applicationfont.h"

#include <QApplication>
#include <QFont>

void useFormFont() {
#ifndef Q_OS_WIN
    // The form places its labels at fixed sizes made for an 8-point dialog font; the wider
    // default fonts of Linux desktops would cut many of them off.
    QFont font = QApplication::font();
    font.setFamily(QStringLiteral("DejaVu Sans Condensed"));
    font.setPointSize(8);
    QApplication::setFont(font);
#endif
}
