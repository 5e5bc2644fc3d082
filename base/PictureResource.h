#pragma once

#include <QImage>
#include <QString>

// Loads an embedded picture for a screen's device pixel ratio: above 1, its drawing at twice the
// size ("name@2x.ext"), marked with ratio 2 so that it keeps the picture's logical size.
QImage load_picture(const QString &path, qreal device_pixel_ratio);
