#include "HelpFile.h"

#include <QFile>
#include <QFileInfo>

// A folder or a device (a pipe, CON) is not a help file: only a regular file is opened, so nothing waits.
HelpText read_help_file(const QString &path)
{
    const QFileInfo info(path);
    if (!info.exists())
        return {HelpText::Outcome::Missing, {}};
    if (!info.isFile())
        return {HelpText::Outcome::NotAFile, {}};
    if (info.size() > kLargestHelpFile)
        return {HelpText::Outcome::TooLarge, {}, info.size()};
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return {HelpText::Outcome::Missing, {}};
    const QByteArray bytes = file.read(kLargestHelpFile + 1);
    if (bytes.size() > kLargestHelpFile) // grew since it was measured
        return {HelpText::Outcome::TooLarge, {}, bytes.size()};
    return {HelpText::Outcome::Read, QString::fromUtf8(bytes)};
}

// Installed beside the program. Nowhere else: the Linux prefix, taken on Windows, names a folder of the
// current drive that any user can make.
QStringList help_file_directories(const QString &program_directory)
{
    return {program_directory};
}
