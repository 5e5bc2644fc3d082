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

Colour colour_of(double x, double y)
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

// Offset of a point at unit distance along a direction measured clockwise from straight up.
QPointF direction(double degrees)
{
    return {std::sin(radians(degrees)), -std::cos(radians(degrees))};
}

QPoint rounded(const QPointF &point)
{
    return {static_cast<int>(std::lround(point.x())), static_cast<int>(std::lround(point.y()))};
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

} // namespace

IndexedBitmap BoardBitmap::render(int scale)
{
    BoardBitmap board(scale);
    board.fill_regions();
    board.draw_ring_borders();
    board.draw_segment_borders();
    board.draw_numbers();
    return std::move(board.picture_);
}

BoardBitmap::BoardBitmap(int scale)
    : scale_(scale)
    , picture_(board::kPictureSize * scale, board::kPictureSize * scale, index_of(Colour::LightGrey))
{
    picture_.set_pixels_per_metre(IndexedBitmap::kPixelsPerMetre96Dpi * scale);
    for (std::size_t i = 0; i < kPalette.size(); ++i)
        picture_.set_palette_entry(static_cast<std::uint8_t>(i), kPalette[i]);
}

// Each device pixel shows the board at its own position: the board point a pixel stands for at
// scale 1 is the centre of its block of scale x scale device pixels.
double BoardBitmap::to_device(double board) const
{
    return board * scale_ + (scale_ - 1) / 2.0;
}

double BoardBitmap::to_board(int device) const
{
    return (device + 0.5) / scale_ - 0.5;
}

void BoardBitmap::fill_regions()
{
    for (int y = 0; y < picture_.height(); ++y) {
        for (int x = 0; x < picture_.width(); ++x)
            picture_.set(x, y, index_of(colour_of(to_board(x), to_board(y))));
    }
}

void BoardBitmap::draw_ring_borders()
{
    for (const double radius : {board::kInnerBullEdge, board::kOuterBullEdge, board::kInnerSingleEdge,
                                board::kTrebleEdge, board::kOuterSingleEdge, board::kDoubleEdge})
        draw_circle(radius);
}

// Per octant, in each column the `scale` pixels nearest the true circle: a line one board pixel
// thick. The centre lies on a pixel at scale 1 and between two pixels at scale 2, so the columns
// are counted in whole or half steps from it.
void BoardBitmap::draw_circle(double radius)
{
    const double centre = to_device(board::kCentre);
    const double r = radius * scale_;
    const double first = centre - std::floor(centre);
    const double inside = (scale_ - 1) / 2.0; // how far the line reaches inside the circle
    const int last = static_cast<int>(std::ceil(r / std::numbers::sqrt2 - first));
    for (int column = 0; column <= last; ++column) {
        const double a = first + column;
        const double b = std::sqrt(r * r - a * a);
        const double nearest = static_cast<double>(std::lround(b + first - inside)) - first;
        for (int t = 0; t < scale_; ++t) {
            const double row = nearest + t;
            for (const double u : {-a, a}) {
                for (const double v : {-row, row}) {
                    set_black(centre + u, centre + v);
                    set_black(centre + v, centre + u);
                }
            }
        }
    }
}

// Segment lines one board pixel thick: `scale` pixels side by side across the line's run.
void BoardBitmap::draw_segment_borders()
{
    const QPointF centre(to_device(board::kCentre), to_device(board::kCentre));
    for (std::size_t i = 0; i < board::kSegmentOrder.size(); ++i) {
        const double degrees = board::kSegmentDegrees / 2.0 + board::kSegmentDegrees * static_cast<double>(i);
        const QPointF along = direction(degrees);
        const QPoint across = std::abs(along.x()) < std::abs(along.y()) ? QPoint(1, 0) : QPoint(0, 1);
        const QPointF start = centre - QPointF(across) * ((scale_ - 1) / 2.0);
        draw_line(rounded(start + along * (board::kOuterBullEdge * scale_)),
                  rounded(start + along * (board::kDoubleEdge * scale_)), across);
    }
}

// Bresenham's line, both ends included.
void BoardBitmap::draw_line(QPoint from, QPoint to, QPoint across)
{
    const int dx = std::abs(to.x() - from.x());
    const int dy = -std::abs(to.y() - from.y());
    const int sx = from.x() < to.x() ? 1 : -1;
    const int sy = from.y() < to.y() ? 1 : -1;
    int error = dx + dy;
    QPoint at = from;
    while (true) {
        for (int t = 0; t < scale_; ++t)
            picture_.set(at.x() + t * across.x(), at.y() + t * across.y(), index_of(Colour::Black));
        if (at == to)
            return;
        const int twice = 2 * error;
        if (twice >= dy) {
            error += dy;
            at.rx() += sx;
        }
        if (twice <= dx) {
            error += dx;
            at.ry() += sy;
        }
    }
}

void BoardBitmap::draw_numbers()
{
    for (std::size_t i = 0; i < board::kSegmentOrder.size(); ++i) {
        const double degrees = board::kSegmentDegrees * static_cast<double>(i);
        stamp(number_mask(board::kSegmentOrder[i], degrees));
    }
}

// Glyph mask of one number, turned to follow the ring; the bottom half reads from the inside.
// Laid out in board pixels, rendered at the device resolution.
QImage BoardBitmap::number_mask(int number, double degrees) const
{
    QImage mask(picture_.width(), picture_.height(), QImage::Format_ARGB32);
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
    painter.scale(scale_, scale_);
    painter.translate(board::kCentre, board::kCentre);
    painter.rotate(degrees);
    painter.translate(0.0, -kNumberRadius);
    if (degrees > 90.0 && degrees < 270.0)
        painter.rotate(180.0);
    painter.drawText(QPointF(-ink.center().x() - 0.5, -ink.center().y() - 0.5), text);
    return mask;
}

void BoardBitmap::stamp(const QImage &mask)
{
    for (const Shade &layer : kNumberLayers) {
        const int offset = layer.offset * scale_;
        for (int y = 0; y < mask.height(); ++y) {
            const auto *row = reinterpret_cast<const QRgb *>(mask.constScanLine(y));
            for (int x = 0; x < mask.width(); ++x) {
                if (qAlpha(row[x]) >= 128)
                    picture_.set(x + offset, y + offset, index_of(layer.colour));
            }
        }
    }
}

void BoardBitmap::set_black(double x, double y)
{
    picture_.set(static_cast<int>(std::lround(x)), static_cast<int>(std::lround(y)), index_of(Colour::Black));
}
