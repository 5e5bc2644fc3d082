#pragma once

#include <QRect>

// The windows are designed in twips (1/1440 inch); at 96 dots per inch 15 twips make one pixel.
namespace twips {

inline constexpr int kPerPixel = 15;

constexpr int to_pixels(int value)
{
    // Nearest pixel, halves away from zero (division alone would truncate towards zero).
    return (2 * value + (value < 0 ? -kPerPixel : kPerPixel)) / (2 * kPerPixel);
}

constexpr int from_pixels(int pixels)
{
    return pixels * kPerPixel;
}

// A rectangle as the designs give it: left, top, width and height in twips.
struct Rect {
    int left;
    int top;
    int width;
    int height;
};

inline QRect rect(int left, int top, int width, int height)
{
    return {to_pixels(left), to_pixels(top), to_pixels(width), to_pixels(height)};
}

inline QRect rect(const Rect &r)
{
    return rect(r.left, r.top, r.width, r.height);
}

inline QSize size(int width, int height)
{
    return {to_pixels(width), to_pixels(height)};
}

} // namespace twips
