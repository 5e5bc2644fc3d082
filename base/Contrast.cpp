#include "Contrast.h"

#include <QFont>

#include <algorithm>
#include <cmath>

namespace contrast {

namespace {

constexpr double kLargeTextPoints = 18;
constexpr double kLargeTextRatio = 3.0;
constexpr double kTextRatio = 4.5;
constexpr int kSearchSteps = 16;
// An adapted colour goes this far beyond the minimum: the smoothed edges of small letters never show the full
// colour, and the letters should still read as well as the minimum says when measured on the screen.
constexpr double kAdaptedMargin = 0.1;

double linear(float channel)
{
    return channel <= 0.04045 ? channel / 12.92 : std::pow((channel + 0.055) / 1.055, 2.4);
}

// The colour as the screen shows it: 8 bits a channel.
QColor shown_at(float hue, float saturation, float lightness)
{
    return QColor(QColor::fromHslF(hue, saturation, lightness).rgb());
}

} // namespace

double relative_luminance(const QColor &colour)
{
    const QColor rgb = colour.toRgb();
    return 0.2126 * linear(rgb.redF()) + 0.7152 * linear(rgb.greenF()) + 0.0722 * linear(rgb.blueF());
}

double ratio(const QColor &first, const QColor &second)
{
    const double one = relative_luminance(first);
    const double other = relative_luminance(second);
    return (std::max(one, other) + 0.05) / (std::min(one, other) + 0.05);
}

double required(const QFont &font)
{
    return font.pointSizeF() >= kLargeTextPoints ? kLargeTextRatio : kTextRatio;
}

double minimum_for(const QColor &design, const QFont &font)
{
    return std::min(required(font), ratio(design, QColor(kLightDefaultBackground)));
}

QColor legible(const QColor &design, const QColor &background, double minimum)
{
    if (ratio(design, background) >= minimum)
        return design;
    const double target = minimum + kAdaptedMargin;
    const bool lighter = ratio(Qt::white, background) >= ratio(Qt::black, background);
    float hue = 0;
    float saturation = 0;
    float lightness = 0;
    design.getHslF(&hue, &saturation, &lightness);

    // Lightness moves the luminance one way only, so halving the span between the design's lightness and
    // white (or black) finds the least change that reads well enough; `reaching` always does.
    float reaching = lighter ? 1.0F : 0.0F;
    float short_of = lightness;
    for (int step = 0; step < kSearchSteps; ++step) {
        const float middle = (reaching + short_of) / 2;
        const QColor candidate = shown_at(hue, saturation, middle);
        const bool on_far_side = lighter == (relative_luminance(candidate) > relative_luminance(background));
        (on_far_side && ratio(candidate, background) >= target ? reaching : short_of) = middle;
    }
    QColor shown = shown_at(hue, saturation, reaching);
    shown.setAlphaF(design.alphaF());
    return shown;
}

} // namespace contrast
