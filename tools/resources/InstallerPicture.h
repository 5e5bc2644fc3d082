#pragma once

#include <QByteArray>
#include <QImage>

// Draws the picture beside the Windows installer's welcome and finish pages: the dart board on a dark
// ground, 164 x 314 pixels, the size those pages show it at 96 dpi.
class InstallerPicture {
public:
    static constexpr int kWidth = 164;
    static constexpr int kHeight = 314;

    static QImage render();
    // An uncompressed 24-bit bitmap, which the installer's pages load.
    static QByteArray encode_bmp(const QImage &image);

private:
    static QImage board_disc();
};
