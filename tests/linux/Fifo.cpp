#include "Fifo.h"

#include <QFile>

#include <sys/stat.h>

#include <cerrno>

bool make_fifo(const QString &path)
{
    return ::mkfifo(QFile::encodeName(path).constData(), 0600) == 0 || errno == EEXIST;
}
