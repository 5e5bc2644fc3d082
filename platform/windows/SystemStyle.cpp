#include "SystemStyle.h"

#include <QApplication>
#include <QStyle>

// Qt 6.7 and later draw on Windows 11 in a style of their own, whose rounded and padded controls do not
// fit the form's fixed layout. The program keeps the look it has on every other Windows.
void choose_system_style()
{
    if (QApplication::style()->name() == QLatin1String("windows11"))
        QApplication::setStyle(QStringLiteral("windowsvista"));
}
