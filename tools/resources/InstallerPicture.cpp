#include "InstallerPicture.h"

#include "BoardBitmap.h"
#include "BoardGeometry.h"

#include <QLinearGradient>
#include <QPainter>

namespace {

// A third of the board's size: each pixel shows the average of three by three of the board's own.
constexpr int kBoardSide = board::kPictureSize / 3;
constexpr int kBoardTop = 48;

QColor palette_colour(BoardBitmap::Colour colour)
{
    return QColor::fromRgb(BoardBitmap::kPalette[static_cast<std::size_t>(colour)]);
}

} // namespace

QImage InstallerPicture::render()
{
    QImage image(kWidth, kHeight, QImage::Format_RGB32);
    image.setDotsPerMeterX(IndexedBitmap::kPixelsPerMetre96Dpi);
    image.setDotsPerMeterY(IndexedBitmap::kPixelsPerMetre96Dpi);
    QPainter painter(&image);
    QLinearGradient ground(0.0, 0.0, 0.0, kHeight);
    ground.setColorAt(0.0, Qt::black);
    ground.setColorAt(1.0, palette_colour(BoardBitmap::Colour::Green).darker(250));
    painter.fillRect(image.rect(), ground);
    const QImage board = board_disc().scaled(kBoardSide, kBoardSide, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
    painter.drawImage((kWidth - kBoardSide) / 2, kBoardTop, board);
    painter.end();
    return image;
}

// The board picture with everything beyond the board's edge transparent.
QImage InstallerPicture::board_disc()
{
    const IndexedBitmap board = BoardBitmap::render();
    QImage disc(board.width(), board.height(), QImage::Format_ARGB32_Premultiplied);
    for (int y = 0; y < board.height(); ++y) {
        for (int x = 0; x < board.width(); ++x) {
            const bool on_board = board::radius_of(x, y) <= board::kBoardEdge;
            disc.setPixel(x, y, on_board ? BoardBitmap::kPalette[board.at(x, y)] : 0u);
        }
    }
    return disc;
}
