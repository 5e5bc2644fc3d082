#include "IndexedBitmap.h"

#include "ByteWriter.h"

namespace {
constexpr std::uint32_t kFileHeaderBytes = 14;
constexpr std::uint32_t kInfoHeaderBytes = 40;
constexpr std::uint32_t kPaletteBytes = 256 * 4;
} // namespace

IndexedBitmap::IndexedBitmap(int width, int height, std::uint8_t fill)
    : width_(width)
    , height_(height)
    , pixels_(static_cast<std::size_t>(width * height), fill)
{
}

std::uint8_t IndexedBitmap::at(int x, int y) const
{
    return pixels_[static_cast<std::size_t>(y * width_ + x)];
}

void IndexedBitmap::set(int x, int y, std::uint8_t index)
{
    if (contains(x, y))
        pixels_[static_cast<std::size_t>(y * width_ + x)] = index;
}

void IndexedBitmap::set_palette_entry(std::uint8_t index, QRgb colour)
{
    palette_[index] = colour;
}

QByteArray IndexedBitmap::encode_bmp() const
{
    const int stride = (width_ + 3) / 4 * 4;
    const auto imageBytes = static_cast<std::uint32_t>(stride * height_);
    const std::uint32_t offset = kFileHeaderBytes + kInfoHeaderBytes + kPaletteBytes;
    ByteWriter out;
    out.tag("BM");
    out.u32(offset + imageBytes);
    out.u32(0);
    out.u32(offset);
    out.u32(kInfoHeaderBytes);
    out.i32(width_);
    out.i32(height_); // positive: bottom-up
    out.u16(1);
    out.u16(8);
    out.u32(0); // uncompressed
    out.u32(imageBytes);
    out.i32(pixels_per_metre_);
    out.i32(pixels_per_metre_);
    out.u32(256);
    out.u32(0);
    for (const QRgb colour : palette_) {
        out.u8(static_cast<std::uint8_t>(qBlue(colour)));
        out.u8(static_cast<std::uint8_t>(qGreen(colour)));
        out.u8(static_cast<std::uint8_t>(qRed(colour)));
        out.u8(0);
    }
    for (int y = height_ - 1; y >= 0; --y) {
        for (int x = 0; x < stride; ++x)
            out.u8(x < width_ ? at(x, y) : 0);
    }
    return out.data();
}
