#include "Fifo.h"

#include <QFile>

bool make_fifo(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::WriteOnly);
}
