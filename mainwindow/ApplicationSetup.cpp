#include "ApplicationSetup.h"

#include "DesignFont.h"
#include "FontSubstitutes.h"
#include "SystemStyle.h"
#include "Version.h"

#include <QApplication>

void setup_application()
{
    QApplication::setApplicationName(QString::fromLatin1(version::kProductName));
    QApplication::setOrganizationName(QString::fromLatin1(version::kCompanyName));
    QApplication::setApplicationVersion(QString::fromLatin1(version::kVersion));
    QApplication::setDesktopFileName(QString::fromLatin1(version::kDesktopFileName));
    choose_system_style();
    register_font_substitutes();
    QApplication::setFont(form_font());
}
