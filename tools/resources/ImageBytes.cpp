#include "ImageBytes.h"

#include <QBuffer>
#include <QImage>
#include <QImageWriter>

QByteArray image_bytes(const QImage &image, const char *format)
{
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    QImageWriter(&buffer, format).write(image);
    return bytes;
}
