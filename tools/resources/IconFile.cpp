#include "IconFile.h"

#include "ByteWriter.h"
#include "ImageBytes.h"

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

// The AND mask, bottom-up: a set bit leaves the screen unchanged under a transparent pixel.
template <typename Transparent>
QByteArray mask_rows(int side, Transparent is_transparent)
{
    QByteArray rows;
    for (int y = side - 1; y >= 0; --y) {
        QByteArray row(row_bytes(side, 1), '\0');
        for (int x = 0; x < side; ++x) {
            if (is_transparent(x, y))
                row[x / 8] = static_cast<char>(row[x / 8] | (0x80 >> (x % 8)));
        }
        rows += row;
    }
    return rows;
}

} // namespace

QByteArray IconFile::encode(std::initializer_list<icon_art::Art> images)
{
    std::vector<Entry> entries;
    for (const icon_art::Art art : images)
        entries.push_back({side_of(art), 16, 4, encode_image(art)});
    return assemble(entries);
}

// Windows Vista and later read a PNG in place of the bitmap; at 256 pixels it is a fraction of the size.
QByteArray IconFile::encode_true_colour(const std::vector<QImage> &images)
{
    std::vector<Entry> entries;
    for (const QImage &image : images)
        entries.push_back({image.width(), 0, 32, image.width() >= 256 ? image_bytes(image, "png") : encode_argb(image)});
    return assemble(entries);
}

QByteArray IconFile::assemble(const std::vector<Entry> &entries)
{
    ByteWriter out;
    out.u16(0);
    out.u16(1); // icon
    out.u16(static_cast<std::uint16_t>(entries.size()));
    auto offset = static_cast<std::uint32_t>(kDirectoryBytes + kEntryBytes * entries.size());
    for (const Entry &entry : entries) {
        const auto side = static_cast<std::uint8_t>(entry.side % 256); // 0 stands for 256
        out.u8(side);
        out.u8(side);
        out.u8(entry.colours);
        out.u8(0);
        out.u16(1); // planes
        out.u16(entry.bits_per_pixel);
        out.u32(static_cast<std::uint32_t>(entry.data.size()));
        out.u32(offset);
        offset += static_cast<std::uint32_t>(entry.data.size());
    }
    for (const Entry &entry : entries)
        out.bytes(entry.data);
    return out.data();
}

QByteArray IconFile::bitmap_header(int side, std::uint16_t bitsPerPixel, int colourStride)
{
    ByteWriter out;
    out.u32(kInfoHeaderBytes);
    out.i32(side);
    out.i32(2 * side); // colour and mask images stacked
    out.u16(1);
    out.u16(bitsPerPixel);
    out.u32(0);
    out.u32(static_cast<std::uint32_t>((colourStride + row_bytes(side, 1)) * side));
    out.i32(0);
    out.i32(0);
    out.u32(0);
    out.u32(0);
    return out.data();
}

// Header, palette, colour rows, then mask rows; both bottom-up. A transparent pixel is colour 0
// with its mask bit set.
QByteArray IconFile::encode_image(icon_art::Art art)
{
    const int side = side_of(art);
    const int colourStride = row_bytes(side, 4);
    ByteWriter out;
    out.bytes(bitmap_header(side, 4, colourStride));
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
    out.bytes(mask_rows(side, [art](int x, int y) {
        return !icon_art::colour_index(art[static_cast<std::size_t>(y)][static_cast<std::size_t>(x)]);
    }));
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

// Straight (not premultiplied) blue, green, red and alpha, bottom-up; the AND mask still marks the
// fully transparent pixels, for programs that ignore the alpha channel.
QByteArray IconFile::encode_argb(const QImage &image)
{
    const QImage argb = image.convertToFormat(QImage::Format_ARGB32);
    const int side = argb.width();
    ByteWriter out;
    out.bytes(bitmap_header(side, 32, side * 4));
    for (int y = side - 1; y >= 0; --y) {
        for (int x = 0; x < side; ++x) {
            const QRgb pixel = argb.pixel(x, y);
            out.u8(static_cast<std::uint8_t>(qBlue(pixel)));
            out.u8(static_cast<std::uint8_t>(qGreen(pixel)));
            out.u8(static_cast<std::uint8_t>(qRed(pixel)));
            out.u8(static_cast<std::uint8_t>(qAlpha(pixel)));
        }
    }
    out.bytes(mask_rows(side, [&argb](int x, int y) { return qAlpha(argb.pixel(x, y)) == 0; }));
    return out.data();
}
