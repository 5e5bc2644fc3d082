#include "BoardBitmap.h"

#include "BoardGeometry.h"

#include <QFont>
#include <QFontMetrics>
#include <QImage>
#include <QPainter>
#include <cmath>
#include <cstdlib>
#include <numbers>

namespace {

using Colour = BoardBitmap::Colour;

constexpr std::uint8_t index_of(Colour colour)
{
    return static_cast<std::uint8_t>(colour);
}

Colour colour_of(int x, int y)
{
    const board::Region region = board::region_at(x, y);
    const bool dark = board::segment_is_dark(board::segment_index(board::angle_of(x, y)));
    switch (region.ring) {
    case board::Ring::InnerBull:
        return Colour::Red;
    case board::Ring::OuterBull:
        return Colour::Green;
    case board::Ring::InnerSingle:
    case board::Ring::OuterSingle:
        return dark ? Colour::Black : Colour::Cream;
    case board::Ring::Treble:
    case board::Ring::Double:
        return dark ? Colour::Red : Colour::Green;
    case board::Ring::NumberRing:
        return Colour::Black;
    case board::Ring::Corner:
        break;
    }
    return Colour::LightGrey;
}

double radians(double degrees)
{
    return degrees * std::numbers::pi / 180.0;
}

// Point at a radius along a direction measured clockwise from straight up.
QPoint polar_point(double radius, double degrees)
{
    return {static_cast<int>(std::lround(board::kCentre + radius * std::sin(radians(degrees)))),
            static_cast<int>(std::lround(board::kCentre - radius * std::cos(radians(degrees))))};
}

// Radius of the middle of the numbers, halfway between the limits of the band they stand in.
constexpr double kNumberRadius = (board::kNumberInner + board::kNumberOuter) / 2.0 - 1.0;
constexpr int kNumberPixelSize = 31;

// Shading offsets, drawn in this order beneath the light grey glyphs.
struct Shade {
    int offset;
    Colour colour;
};
constexpr std::array<Shade, 3> kNumberLayers{{
    {2, Colour::DarkGrey},
    {1, Colour::MidGrey},
    {0, Colour::LightGrey},
}};

// Glyph mask of one number, turned to follow the ring; the bottom half reads from the inside.
QImage number_mask(int number, double degrees)
{
    QImage mask(board::kPictureSize, board::kPictureSize, QImage::Format_ARGB32);
    mask.fill(Qt::transparent);
    QFont font(QStringLiteral("Liberation Sans"));
    font.setBold(true);
    font.setPixelSize(kNumberPixelSize);
    font.setStyleStrategy(QFont::NoAntialias);
    const QString text = QString::number(number);
    const QRect ink = QFontMetrics(font).tightBoundingRect(text);

    QPainter painter(&mask);
    painter.setRenderHint(QPainter::Antialiasing, false);
    painter.setRenderHint(QPainter::TextAntialiasing, false);
    painter.setFont(font);
    painter.setPen(Qt::white);
    painter.translate(board::kCentre, board::kCentre);
    painter.rotate(degrees);
    painter.translate(0.0, -kNumberRadius);
    if (degrees > 90.0 && degrees < 270.0)
        painter.rotate(180.0);
    painter.drawText(QPointF(-ink.center().x() - 0.5, -ink.center().y() - 0.5), text);
    return mask;
}

void stamp(IndexedBitmap& picture, const QImage& mask)
{
    for (const Shade& layer : kNumberLayers) {
        for (int y = 0; y < mask.height(); ++y) {
            const auto* row = reinterpret_cast<const QRgb*>(mask.constScanLine(y));
            for (int x = 0; x < mask.width(); ++x) {
                if (qAlpha(row[x]) >= 128)
                    picture.set(x + layer.offset, y + layer.offset, index_of(layer.colour));
            }
        }
    }
}

} // namespace

IndexedBitmap BoardBitmap::render()
{
    IndexedBitmap picture(board::kPictureSize, board::kPictureSize, index_of(Colour::LightGrey));
    for (std::size_t i = 0; i < kPalette.size(); ++i)
        picture.setPaletteEntry(static_cast<std::uint8_t>(i), kPalette[i]);
    fillRegions(picture);
    drawRingBorders(picture);
    drawSegmentBorders(picture);
    drawNumbers(picture);
    return picture;
}

void BoardBitmap::fillRegions(IndexedBitmap& picture)
{
    for (int y = 0; y < picture.height(); ++y) {
        for (int x = 0; x < picture.width(); ++x)
            picture.set(x, y, index_of(colour_of(x, y)));
    }
}

void BoardBitmap::drawRingBorders(IndexedBitmap& picture)
{
    for (const double radius : {board::kInnerBullEdge, board::kOuterBullEdge, board::kInnerSingleEdge,
                                board::kTrebleEdge, board::kOuterSingleEdge, board::kDoubleEdge})
        drawCircle(picture, radius);
}

// One-pixel circle: per octant, the nearest pixel to the true circle in each column.
void BoardBitmap::drawCircle(IndexedBitmap& picture, double radius)
{
    const int centre = static_cast<int>(board::kCentre);
    const int last = static_cast<int>(std::ceil(radius / std::numbers::sqrt2));
    for (int a = 0; a <= last; ++a) {
        const int b = static_cast<int>(std::lround(std::sqrt(radius * radius - a * a)));
        for (const int sa : {-1, 1}) {
            for (const int sb : {-1, 1}) {
                picture.set(centre + sa * a, centre + sb * b, index_of(Colour::Black));
                picture.set(centre + sb * b, centre + sa * a, index_of(Colour::Black));
            }
        }
    }
}

void BoardBitmap::drawSegmentBorders(IndexedBitmap& picture)
{
    for (std::size_t i = 0; i < board::kSegmentOrder.size(); ++i) {
        const double degrees = board::kSegmentDegrees / 2.0 + board::kSegmentDegrees * static_cast<double>(i);
        const QPoint from = polar_point(board::kOuterBullEdge, degrees);
        const QPoint to = polar_point(board::kDoubleEdge, degrees);
        drawLine(picture, from.x(), from.y(), to.x(), to.y());
    }
}

// Bresenham's line, both ends included.
void BoardBitmap::drawLine(IndexedBitmap& picture, int x0, int y0, int x1, int y1)
{
    const int dx = std::abs(x1 - x0);
    const int dy = -std::abs(y1 - y0);
    const int sx = x0 < x1 ? 1 : -1;
    const int sy = y0 < y1 ? 1 : -1;
    int error = dx + dy;
    while (true) {
        picture.set(x0, y0, index_of(Colour::Black));
        if (x0 == x1 && y0 == y1)
            return;
        const int twice = 2 * error;
        if (twice >= dy) {
            error += dy;
            x0 += sx;
        }
        if (twice <= dx) {
            error += dx;
            y0 += sy;
        }
    }
}

void BoardBitmap::drawNumbers(IndexedBitmap& picture)
{
    for (std::size_t i = 0; i < board::kSegmentOrder.size(); ++i) {
        const double degrees = board::kSegmentDegrees * static_cast<double>(i);
        stamp(picture, number_mask(board::kSegmentOrder[i], degrees));
    }
}
