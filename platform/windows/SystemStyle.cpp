#include "SystemStyle.h"

#include <QApplication>
#include <QStyle>
#include <QStyleHints>

// Qt 6.7 and later draw on Windows 11 in a style of their own, whose rounded and padded controls do not
// fit the form's fixed layout. The program keeps the look it has on every other Windows.
void choose_system_style()
{
    if (QApplication::style()->name() == QLatin1String("windows11"))
        QApplication::setStyle(QStringLiteral("windowsvista"));
#if QT_VERSION >= QT_VERSION_CHECK(6, 8, 0)
    // Qt 6.8 and later give a window a dark title bar where the system is in dark mode, over the light
    // content of the style kept: the title bar is kept light with it.
    QGuiApplication::styleHints()->setColorScheme(Qt::ColorScheme::Light);
#endif
}
