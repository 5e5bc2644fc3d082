#pragma once

#include <QImage>

// Draws the picture beside the Windows installer's welcome and finish pages: the dart board on a dark
// ground, 164 x 314 pixels, the size those pages show it at 96 dpi.
class InstallerPicture {
public:
    static constexpr int kWidth = 164;
    static constexpr int kHeight = 314;

    // In true colour, which Qt writes as an uncompressed 24-bit bitmap, the format the pages load.
    static QImage render();

private:
    static QImage board_disc();
};
