#include "applicationfont.h"

#include <QApplication>
#include <QFont>

void useFormFont() {
#ifndef Q_OS_WIN
    // The form places its widgets at fixed pixel sizes made for a small dialog font; the wider
    // default fonts of Linux desktops would cut many labels off. The size is in pixels, as the
    // geometry is: at 11 the longer Hungarian labels no longer fit.
    QFont font = QApplication::font();
    font.setFamily(QStringLiteral("DejaVu Sans Condensed"));
    font.setPixelSize(10);
    QApplication::setFont(font);
#endif
}
