#pragma once

#include <QByteArray>
#include <QImage>
#include <QPainterPath>
#include <QRectF>

// Draws the splash banner: the maker's name in raised block capitals over the product line.
class SplashBanner {
public:
    static constexpr int kWidth = 379;
    static constexpr int kHeight = 117;
    static constexpr int kTargetBytes = 9352;

    static QImage render();
    // Baseline JPEG at the quality whose size comes nearest the target.
    static QByteArray encodeJpeg(const QImage& image);

private:
    static QPainterPath fitted(const QPainterPath& path, const QRectF& box);
    static void drawRaised(QImage& image, const QPainterPath& path, double weight);
    static QByteArray jpegAt(const QImage& image, int quality);
};
