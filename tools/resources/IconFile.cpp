#include "IconFile.h"

#include "ByteWriter.h"

#include <vector>

namespace {

constexpr std::uint32_t kDirectoryBytes = 6;
constexpr std::uint32_t kEntryBytes = 16;
constexpr std::uint32_t kInfoHeaderBytes = 40;

int row_bytes(int width, int bitsPerPixel)
{
    return (width * bitsPerPixel + 31) / 32 * 4;
}

int side_of(icon_art::Art art)
{
    return static_cast<int>(art.size());
}

} // namespace

QByteArray IconFile::encode(std::initializer_list<icon_art::Art> images)
{
    std::vector<QByteArray> encoded;
    for (const icon_art::Art art : images)
        encoded.push_back(encode_image(art));

    ByteWriter out;
    out.u16(0);
    out.u16(1); // icon
    out.u16(static_cast<std::uint16_t>(images.size()));
    auto offset = static_cast<std::uint32_t>(kDirectoryBytes + kEntryBytes * images.size());
    std::size_t i = 0;
    for (const icon_art::Art art : images) {
        out.u8(static_cast<std::uint8_t>(side_of(art)));
        out.u8(static_cast<std::uint8_t>(side_of(art)));
        out.u8(16); // colours
        out.u8(0);
        out.u16(1); // planes
        out.u16(4); // bits per pixel
        out.u32(static_cast<std::uint32_t>(encoded[i].size()));
        out.u32(offset);
        offset += static_cast<std::uint32_t>(encoded[i].size());
        ++i;
    }
    for (const QByteArray &image : encoded)
        out.bytes(image);
    return out.data();
}

// Header, palette, colour rows, then mask rows; both bottom-up. A transparent pixel is colour 0
// with its mask bit set, so it leaves the screen unchanged.
QByteArray IconFile::encode_image(icon_art::Art art)
{
    const int side = side_of(art);
    const int colourStride = row_bytes(side, 4);
    const int maskStride = row_bytes(side, 1);
    ByteWriter out;
    out.u32(kInfoHeaderBytes);
    out.i32(side);
    out.i32(2 * side); // colour and mask images stacked
    out.u16(1);
    out.u16(4);
    out.u32(0);
    out.u32(static_cast<std::uint32_t>((colourStride + maskStride) * side));
    out.i32(0);
    out.i32(0);
    out.u32(0);
    out.u32(0);
    for (const std::uint32_t rgb : icon_art::kPalette) {
        out.u8(static_cast<std::uint8_t>(rgb & 0xFF));
        out.u8(static_cast<std::uint8_t>((rgb >> 8) & 0xFF));
        out.u8(static_cast<std::uint8_t>((rgb >> 16) & 0xFF));
        out.u8(0);
    }
    for (int y = side - 1; y >= 0; --y) {
        QByteArray row(colourStride, '\0');
        for (int x = 0; x < side; ++x) {
            const auto index = icon_art::colour_index(art[static_cast<std::size_t>(y)][static_cast<std::size_t>(x)]);
            const int nibble = index.value_or(0);
            row[x / 2] = static_cast<char>(row[x / 2] | (x % 2 == 0 ? nibble << 4 : nibble));
        }
        out.bytes(row);
    }
    for (int y = side - 1; y >= 0; --y) {
        QByteArray row(maskStride, '\0');
        for (int x = 0; x < side; ++x) {
            if (!icon_art::colour_index(art[static_cast<std::size_t>(y)][static_cast<std::size_t>(x)]))
                row[x / 8] = static_cast<char>(row[x / 8] | (0x80 >> (x % 8)));
        }
        out.bytes(row);
    }
    return out.data();
}

QImage IconFile::to_image(icon_art::Art art)
{
    const int side = side_of(art);
    QImage image(side, side, QImage::Format_ARGB32);
    for (int y = 0; y < side; ++y) {
        for (int x = 0; x < side; ++x) {
            const auto index = icon_art::colour_index(art[static_cast<std::size_t>(y)][static_cast<std::size_t>(x)]);
            image.setPixel(x, y, index ? (0xFF000000u | icon_art::kPalette[*index]) : 0u);
        }
    }
    return image;
}
