#pragma once

#include <QByteArray>

class QImage;

// The file that Qt's image writer makes of the image in the format named ("png", "bmp").
QByteArray image_bytes(const QImage &image, const char *format);
