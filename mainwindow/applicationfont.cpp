#include "applicationfont.h"

#include <QApplication>
#include <QFont>

void useFormFont() {
#ifndef Q_OS_WIN
    // The form places its widgets at fixed pixel sizes made for a small dialog font; the wider
    // default fonts of Linux desktops would cut many labels off. The size is in pixels, as the
    // geometry is: at 11 the longer Hungarian labels no longer fit. Full hinting, which some
    // desktops ask for, would widen them again; light hinting keeps the advances as designed.
    QFont font = QApplication::font();
    font.setFamily(QStringLiteral("DejaVu Sans Condensed"));
    font.setPixelSize(10);
    font.setHintingPreference(QFont::PreferVerticalHinting);
    QApplication::setFont(font);
#endif
}
