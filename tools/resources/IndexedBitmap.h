#pragma once

#include <QByteArray>
#include <QRgb>
#include <array>
#include <cstdint>
#include <vector>

// An 8-bit paletted picture, written as an uncompressed bottom-up Windows bitmap.
class IndexedBitmap {
public:
    static constexpr std::int32_t kPixelsPerMetre96Dpi = 3780;

    IndexedBitmap(int width, int height, std::uint8_t fill);

    int width() const { return width_; }
    int height() const { return height_; }
    bool contains(int x, int y) const { return x >= 0 && y >= 0 && x < width_ && y < height_; }
    std::uint8_t at(int x, int y) const;
    void set(int x, int y, std::uint8_t index); // ignores points outside the picture
    void set_palette_entry(std::uint8_t index, QRgb colour);
    void set_pixels_per_metre(std::int32_t resolution) { pixels_per_metre_ = resolution; }

    QByteArray encode_bmp() const;

private:
    int width_;
    int height_;
    std::int32_t pixels_per_metre_ = kPixelsPerMetre96Dpi;
    std::array<QRgb, 256> palette_{};
    std::vector<std::uint8_t> pixels_; // top row first
};
