#pragma once

#include <QColor>

class QFont;

// How well text reads on its background (WCAG 2 contrast), and text colours adapted to read well enough.
namespace contrast {

// The window background of Qt's own light palette: the background the design's colours are judged on.
inline constexpr QRgb kLightDefaultBackground = qRgb(0xEF, 0xEF, 0xEF);

// 0 for black to 1 for white, as the eye weighs the three primaries.
double relative_luminance(const QColor &colour);

// (lighter + 0.05) / (darker + 0.05): 1 for two equal colours, 21 for black on white.
double ratio(const QColor &first, const QColor &second);

// 3:1 for text of 18 points and more, 4.5:1 for smaller text.
double required(const QFont &font);

// What a design colour must reach: the requirement for its font, or less where the design colour itself reads
// less well on the light default background; there it is kept, and elsewhere it reads no worse than there.
double minimum_for(const QColor &design, const QFont &font);

// The design colour where it reaches `minimum` on `background`; otherwise the same hue made lighter (on a dark
// background) or darker (on a light one), just far enough to read a little better than the minimum.
QColor legible(const QColor &design, const QColor &background, double minimum);

} // namespace contrast
