#include "FontSubstitutes.h"

#include <QFont>

// Windows' "MS Sans Serif" is a bitmap font: Qt draws it at one size only, and at any other scale than
// 100 % blows its pixels up into squares. Every Windows also has its outline cut, with the same metrics.
void register_font_substitutes()
{
    QFont::insertSubstitution(QStringLiteral("MS Sans Serif"), QStringLiteral("Microsoft Sans Serif"));
}
