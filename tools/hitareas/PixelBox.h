#pragma once

// A rectangle of picture pixels, half open: it holds x0 <= x < x1 and y0 <= y < y1.
struct PixelBox {
    int x0;
    int y0;
    int x1;
    int y1;

    int width() const { return x1 - x0; }
    int height() const { return y1 - y0; }
    bool empty() const { return x1 <= x0 || y1 <= y0; }
    bool contains(int x, int y) const { return x0 <= x && x < x1 && y0 <= y && y < y1; }
};
