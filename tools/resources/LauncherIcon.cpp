#include "LauncherIcon.h"

#include "IconArt.h"

#include <QPainter>
#include <QPolygonF>
#include <QTransform>

#include <algorithm>
#include <array>
#include <cmath>
#include <span>

namespace {

// The dart lies along the x axis from the tail of its flights (0) to its tip (100); y runs across it.
struct Point {
    double x;
    double y;
};

struct Shape {
    char colour; // a letter of icon_art's palette
    std::span<const Point> outline;
};

constexpr std::array<Point, 4> kUpperFlight{{{0, 0}, {4, -15}, {20, -15}, {36, 0}}};
constexpr std::array<Point, 4> kLowerFlight{{{0, 0}, {4, 15}, {20, 15}, {36, 0}}};
constexpr std::array<Point, 4> kShaftRed{{{30, -3.5}, {41, -3.5}, {41, 3.5}, {30, 3.5}}};
constexpr std::array<Point, 4> kShaftWhite{{{41, -3.5}, {51, -3.5}, {51, 3.5}, {41, 3.5}}};
constexpr std::array<Point, 4> kShaftBlue{{{51, -3.5}, {60, -3.5}, {60, 3.5}, {51, 3.5}}};
constexpr std::array<Point, 6> kBarrel{{{60, -4}, {64, -6}, {80, -6}, {84, -4}, {84, 4}, {60, 4}}};
constexpr std::array<Point, 4> kGrip{{{66, -6}, {78, -6}, {78, 6}, {66, 6}}};
constexpr std::array<Point, 5> kPoint{{{84, -2}, {97, -1}, {100, 0}, {97, 1}, {84, 2}}};

// Back to front: the shaft covers the flights' inner edges.
constexpr std::array<Shape, 8> kShapes{{
    {'G', kUpperFlight},
    {'C', kLowerFlight},
    {'R', kShaftRed},
    {'W', kShaftWhite},
    {'B', kShaftBlue},
    {'L', kBarrel},
    {'D', kGrip},
    {'L', kPoint},
}};

// The SVG's coordinate box; the PNGs scale it to their size.
constexpr double kBox = 256;
constexpr double kMargin = 8;
constexpr double kOutline = 3; // in box units
// Thinner than this the outline blurs away; a whole pixel would swallow the shaft of the smallest icons.
constexpr double kThinnestOutline = 0.75;

QColor colour_of(char letter)
{
    return QColor::fromRgb(icon_art::kPalette[*icon_art::colour_index(letter)]);
}

QPolygonF polygon_of(const Shape &shape)
{
    QPolygonF polygon;
    for (const Point &point : shape.outline)
        polygon << QPointF(point.x, point.y);
    return polygon;
}

// Points the dart to the upper right and fits all its shapes, outline included, inside the box.
QTransform placement()
{
    QTransform turn;
    turn.rotate(-45);
    QRectF bounds;
    for (const Shape &shape : kShapes)
        bounds |= turn.map(polygon_of(shape)).boundingRect();
    const double scale = (kBox - 2 * kMargin - kOutline) / std::max(bounds.width(), bounds.height());
    QTransform fit;
    fit.translate(kBox / 2, kBox / 2);
    fit.scale(scale, scale);
    fit.translate(-bounds.center().x(), -bounds.center().y());
    return turn * fit;
}

} // namespace

QImage LauncherIcon::render(int size)
{
    QImage image(size, size, QImage::Format_ARGB32);
    image.fill(Qt::transparent);
    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing);
    const double pixelsPerUnit = size / kBox;
    const QTransform shapeToBox = placement();
    painter.setTransform(shapeToBox * QTransform::fromScale(pixelsPerUnit, pixelsPerUnit));
    // The pen is given in shape units and scaled with them.
    const double pixelsPerShapeUnit = std::hypot(shapeToBox.m11(), shapeToBox.m12()) * pixelsPerUnit;
    const double outline = std::max(kOutline * pixelsPerUnit, kThinnestOutline) / pixelsPerShapeUnit;
    for (const Shape &shape : kShapes) {
        painter.setBrush(colour_of(shape.colour));
        painter.setPen(QPen(Qt::black, outline, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
        painter.drawPolygon(polygon_of(shape));
    }
    return image;
}

QByteArray LauncherIcon::svg()
{
    const QTransform t = placement();
    const double unitsPerShapeUnit = std::hypot(t.m11(), t.m12());
    QByteArray out =
        "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
        "<svg xmlns=\"http://www.w3.org/2000/svg\" width=\"256\" height=\"256\" viewBox=\"0 0 256 256\">\n";
    out += QStringLiteral("<g transform=\"matrix(%1 %2 %3 %4 %5 %6)\" stroke=\"#000000\" stroke-width=\"%7\" "
                          "stroke-linejoin=\"round\">\n")
               .arg(t.m11(), 0, 'f', 4)
               .arg(t.m12(), 0, 'f', 4)
               .arg(t.m21(), 0, 'f', 4)
               .arg(t.m22(), 0, 'f', 4)
               .arg(t.dx(), 0, 'f', 4)
               .arg(t.dy(), 0, 'f', 4)
               .arg(kOutline / unitsPerShapeUnit, 0, 'f', 4)
               .toUtf8();
    for (const Shape &shape : kShapes) {
        QByteArray points;
        for (const Point &point : shape.outline)
            points += QByteArray::number(point.x) + ',' + QByteArray::number(point.y) + ' ';
        out += "<polygon fill=\"" + colour_of(shape.colour).name().toUtf8() + "\" points=\"" + points.trimmed()
               + "\"/>\n";
    }
    out += "</g>\n</svg>\n";
    return out;
}
