#pragma once

#include <QByteArray>
#include <QImage>
#include <QPainterPath>
#include <QRectF>

class QPainter;

// Draws the splash banner: the maker's name in raised block capitals over the product line, with
// `scale` device pixels to each pixel of the 379 x 117 banner.
class SplashBanner {
public:
    static constexpr int kWidth = 379;
    static constexpr int kHeight = 117;
    static constexpr int kTargetBytes = 9352;

    static QImage render(int scale = 1);
    // Baseline JPEG at the quality whose size comes nearest the target, which grows with the pixel count.
    static QByteArray encode_jpeg(const QImage &image);

private:
    static QPainterPath fitted(const QPainterPath &path, const QRectF &box);
    static void draw_raised(QPainter &painter, const QPainterPath &path, double weight);
    static QByteArray jpeg_at(const QImage &image, int quality);
};
