#include "DesignFont.h"

#include <QStringList>

#include <array>

namespace {

struct StandIn {
    const char *design;
    const char *installed;
};

constexpr std::array<StandIn, 3> kStandIns{{
    {"Arial", "Liberation Sans"},
    {"MS Sans Serif", "Liberation Sans"},
    {"Times New Roman", "Liberation Serif"},
}};

// The faces the system registered for the family in its place, else the family; then its stand-ins.
QStringList families_for(const QString &family)
{
    QStringList families = QFont::substitutes(family);
    if (families.isEmpty())
        families.append(family);
    for (const StandIn &stand_in : kStandIns) {
        if (family == QLatin1String(stand_in.design))
            families.append(QString::fromLatin1(stand_in.installed));
    }
    return families;
}

} // namespace

QFont design_font(const QString &family, qreal points, bool bold, bool italic)
{
    QFont font;
    font.setFamilies(families_for(family));
    font.setPointSizeF(points);
    font.setBold(bold);
    font.setItalic(italic);
    return font;
}

QFont form_font()
{
    return design_font(QStringLiteral("MS Sans Serif"), 8.25);
}
