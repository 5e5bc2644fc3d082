#include "HelpFile.h"

#ifndef OCHRELINE_HELP_DIR
#define OCHRELINE_HELP_DIR "/usr/local/share/games/ochreline"
#endif
#ifndef OCHRELINE_HELP_DIR_FROM_PROGRAM
#define OCHRELINE_HELP_DIR_FROM_PROGRAM "../share/games/ochreline"
#endif

#include <QFile>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

// Opened without waiting, as a FIFO would block a plain open, and checked on the opened file itself.
HelpText read_help_file(const QString &path)
{
    const int descriptor = ::open(QFile::encodeName(path).constData(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
    if (descriptor < 0)
        return {HelpText::Outcome::Missing, {}};
    QFile file;
    if (!file.open(descriptor, QIODevice::ReadOnly, QFileDevice::AutoCloseHandle)) {
        ::close(descriptor);
        return {HelpText::Outcome::Missing, {}};
    }
    struct stat status { };
    if (::fstat(descriptor, &status) != 0 || !S_ISREG(status.st_mode))
        return {HelpText::Outcome::NotAFile, {}};
    if (status.st_size > kLargestHelpFile)
        return {HelpText::Outcome::TooLarge, {}, status.st_size};
    const QByteArray bytes = file.read(kLargestHelpFile + 1);
    if (bytes.size() > kLargestHelpFile) // grew since it was measured
        return {HelpText::Outcome::TooLarge, {}, bytes.size()};
    return {HelpText::Outcome::Read, QString::fromUtf8(bytes)};
}

// The data directory is also looked for relative to the program, so a relocated install finds it.
QStringList help_file_directories(const QString &program_directory)
{
    return {program_directory, program_directory + QStringLiteral("/" OCHRELINE_HELP_DIR_FROM_PROGRAM),
            QStringLiteral(OCHRELINE_HELP_DIR)};
}
