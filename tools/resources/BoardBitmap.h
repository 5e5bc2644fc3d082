#pragma once

#include "IndexedBitmap.h"

#include <QPoint>
#include <QRgb>
#include <array>
#include <cstdint>

class QImage;

// Draws the dart board picture in its seven palette colours, without anti-aliasing, with `scale`
// device pixels to each pixel of the 480 x 480 board: 1 for ordinary screens, 2 for high-DPI ones.
class BoardBitmap {
public:
    enum class Colour : std::uint8_t { Black, LightGrey, Cream, Red, Green, DarkGrey, MidGrey };

    static constexpr std::array<QRgb, 7> kPalette{
        0xFF000000u, 0xFFC0C0C0u, 0xFFFFFFCCu, 0xFFCC3333u, 0xFF339900u, 0xFF333333u, 0xFF666666u,
    };

    static IndexedBitmap render(int scale = 1);

private:
    explicit BoardBitmap(int scale);

    double toDevice(double board) const;
    double toBoard(int device) const;
    void fillRegions();
    void drawRingBorders();
    void drawCircle(double radius);
    void drawSegmentBorders();
    void drawLine(QPoint from, QPoint to, QPoint across);
    void drawNumbers();
    QImage numberMask(int number, double degrees) const;
    void stamp(const QImage& mask);
    void setBlack(double x, double y);

    int scale_;
    IndexedBitmap picture_;
};
