#pragma once

#include <QFont>

// Fonts named as the dialogs were designed; where a design family is not installed, its
// metric-compatible stand-in is used so the texts fit their designed boxes. A face the system registered
// as the family's substitute (QFont::insertSubstitution) is drawn in its place.
QFont design_font(const QString &family, qreal points, bool bold = false, bool italic = false);

// The dialogs' default font: "MS Sans Serif" 8.25 point.
QFont form_font();
