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

    double to_device(double board) const;
    double to_board(int device) const;
    void fill_regions();
    void draw_ring_borders();
    void draw_circle(double radius);
    void draw_segment_borders();
    void draw_line(QPoint from, QPoint to, QPoint across);
    void draw_numbers();
    QImage number_mask(int number, double degrees) const;
    void stamp(const QImage &mask);
    void set_black(double x, double y);

    int scale_;
    IndexedBitmap picture_;
};
