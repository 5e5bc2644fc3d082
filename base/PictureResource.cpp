#include "PictureResource.h"

#include <cmath>

QImage load_picture(const QString &path, qreal device_pixel_ratio)
{
    if (!(device_pixel_ratio > 1.0))
        return QImage(path);
    const qsizetype dot = path.lastIndexOf(u'.');
    QImage sharp(path.left(dot) + QStringLiteral("@2x") + path.mid(dot));
    if (sharp.isNull() || device_pixel_ratio == 2.0) {
        // Set here too: the image reader leaves it at 1 when the user has turned off its "@2x" handling.
        sharp.setDevicePixelRatio(2.0);
        return sharp;
    }
    // At any other ratio the picture is scaled here, smoothly, to the screen's own pixels, so that it is
    // drawn pixel for pixel: a label would otherwise scale it pixel by pixel. The ratio stays the one
    // that keeps the picture's logical size exact.
    const QSize logical = sharp.size() / 2;
    const QSize device(std::lround(logical.width() * device_pixel_ratio),
                       std::lround(logical.height() * device_pixel_ratio));
    // Converted first: Qt 6.4 crashes scaling a paletted picture (the board's) smoothly.
    const QImage::Format format = sharp.hasAlphaChannel() ? QImage::Format_ARGB32_Premultiplied
                                                          : QImage::Format_RGB32;
    QImage scaled = sharp.convertToFormat(format).scaled(device, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
    scaled.setDevicePixelRatio(qreal(device.width()) / logical.width());
    return scaled;
}
