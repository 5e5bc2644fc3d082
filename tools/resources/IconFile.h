#pragma once

#include "IconArt.h"

#include <QByteArray>
#include <QImage>
#include <initializer_list>

// Writes pixel art as a Windows icon file: 16-colour images with AND masks for transparency.
class IconFile {
public:
    static QByteArray encode(std::initializer_list<icon_art::Art> images);
    static QImage toImage(icon_art::Art art);

private:
    static QByteArray encodeImage(icon_art::Art art);
};
