#pragma once

#include "IndexedBitmap.h"

#include <QRgb>
#include <array>
#include <cstdint>

// Draws the dart board picture in its seven palette colours, without anti-aliasing.
class BoardBitmap {
public:
    enum class Colour : std::uint8_t { Black, LightGrey, Cream, Red, Green, DarkGrey, MidGrey };

    static constexpr std::array<QRgb, 7> kPalette{
        0xFF000000u, 0xFFC0C0C0u, 0xFFFFFFCCu, 0xFFCC3333u, 0xFF339900u, 0xFF333333u, 0xFF666666u,
    };

    static IndexedBitmap render();

private:
    static void fillRegions(IndexedBitmap& picture);
    static void drawRingBorders(IndexedBitmap& picture);
    static void drawCircle(IndexedBitmap& picture, double radius);
    static void drawSegmentBorders(IndexedBitmap& picture);
    static void drawLine(IndexedBitmap& picture, int x0, int y0, int x1, int y1);
    static void drawNumbers(IndexedBitmap& picture);
};
