#pragma once

#include "IconArt.h"

#include <QByteArray>
#include <QImage>
#include <cstdint>
#include <initializer_list>
#include <vector>

// Writes Windows icon files: pixel art as 16-colour images with AND masks for transparency, and
// drawings as 32-bit images with an alpha channel (PNG-compressed at 256 pixels).
class IconFile {
public:
    static QByteArray encode(std::initializer_list<icon_art::Art> images);
    static QByteArray encode_true_colour(const std::vector<QImage> &images);
    static QImage to_image(icon_art::Art art);

private:
    struct Entry {
        int side;
        std::uint8_t colours; // 0 for more than 256
        std::uint16_t bits_per_pixel;
        QByteArray data;
    };

    static QByteArray assemble(const std::vector<Entry> &entries);
    static QByteArray bitmap_header(int side, std::uint16_t bitsPerPixel, int colourStride);
    static QByteArray encode_image(icon_art::Art art);
    static QByteArray encode_argb(const QImage &image);
};
