#pragma once

#include <QTextBrowser>

// The program's help viewer: a window of its own showing the program's HTML help file. It follows
// only the jumps within that document and reads nothing beyond the file itself.
class HelpViewer : public QTextBrowser {
    Q_OBJECT
public:
    explicit HelpViewer(QWidget &owner);

    // Shows the file's contents, or says in the window why it cannot: not found, or not a help file.
    void show_contents(const QString &file_name);

    // The first existing file of that name in the search directories; empty when there is none.
    static QString locate(const QString &file_name);

    // Where locate() looks, in order: beside the executable (the build tree), then the installed data
    // directory. Never the current directory: a file there is not ours. Tests point it elsewhere.
    static QStringList search_directories();
    static void set_search_directories(const QStringList &directories);

    QVariant loadResource(int type, const QUrl &name) override;

private:
    void show_message(const QString &message);
    void follow_link(const QUrl &link);
};

// Opens the contents of the help file in the owner's help viewer, creating it on first use and
// raising it on later calls.
void open_help_contents(QWidget &owner, const QString &file_name);
