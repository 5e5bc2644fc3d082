#pragma once

#include "IconArt.h"

#include <QByteArray>
#include <QImage>
#include <initializer_list>

// Writes pixel art as a Windows icon file: 16-colour images with AND masks for transparency.
class IconFile {
public:
    static QByteArray encode(std::initializer_list<icon_art::Art> images);
    static QImage to_image(icon_art::Art art);

private:
    static QByteArray encode_image(icon_art::Art art);
};
