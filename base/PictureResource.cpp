#include "PictureResource.h"

QImage load_picture(const QString &path, qreal device_pixel_ratio)
{
    if (!(device_pixel_ratio > 1.0))
        return QImage(path);
    const qsizetype dot = path.lastIndexOf(u'.');
    QImage sharp(path.left(dot) + QStringLiteral("@2x") + path.mid(dot));
    // Set here too: the image reader leaves it at 1 when the user has turned off its "@2x" handling.
    sharp.setDevicePixelRatio(2.0);
    return sharp;
}
