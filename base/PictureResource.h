#pragma once

#include <QImage>
#include <QString>

// Loads an embedded picture for a screen's device pixel ratio: above 1, from its drawing at twice the
// size ("name@2x.ext"), scaled smoothly to the screen's pixels where the ratio is not 2, and marked with
// the ratio so that it keeps the picture's logical size.
QImage load_picture(const QString &path, qreal device_pixel_ratio);
