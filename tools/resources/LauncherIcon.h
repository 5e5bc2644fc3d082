#pragma once

#include <QByteArray>
#include <QImage>

// Draws the launcher icon, the dart of the window icon as a vector drawing: a PNG at any size, each
// size drawn afresh, and the same shapes as an SVG document.
class LauncherIcon {
public:
    static QImage render(int size);
    static QByteArray svg();
};
