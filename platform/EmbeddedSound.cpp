#include "EmbeddedSound.h"

#include <QFile>

QByteArray load_embedded_sound(const QString &name)
{
    // Resource names are plain names, stored in capitals; a path separator could reach other resources.
    if (name.isEmpty() || name.contains(u'/'))
        return {};
    QFile resource(QStringLiteral(":/WAVE/") + name.toUpper());
    return resource.open(QIODevice::ReadOnly) ? resource.readAll() : QByteArray();
}
