#pragma once

#include <QString>
#include <QStringList>

// Reading the help file: its text, or why it cannot be shown.

// Ours is a few kilobytes. Laying out anything much larger would stall the window for seconds.
constexpr qint64 kLargestHelpFile = 1024 * 1024;

struct HelpText {
    enum class Outcome { Read, Missing, NotAFile, TooLarge } outcome;
    QString text;
    qint64 size = 0;
};

// Reads a help file of at most kLargestHelpFile bytes as UTF-8, without ever waiting on what is not a
// regular file.
HelpText read_help_file(const QString &path);

// Where the help file lies for a program in `program_directory`, in order: beside the program (a build
// tree, or Windows, which installs nothing elsewhere), then where this system installs it.
QStringList help_file_directories(const QString &program_directory);
