#pragma once

#include <QTextBrowser>

// The program's help viewer: a window of its own showing a local HTML help file. It follows only
// the links inside that document and never loads anything that is not on this machine.
class HelpViewer : public QTextBrowser {
    Q_OBJECT
public:
    explicit HelpViewer(QWidget &owner);

    // Shows the file's contents, or says in the window that it cannot be found.
    void show_contents(const QString &file_name);

    // The first existing file of that name in the current directory, beside the executable or in
    // the installed data directory; empty when there is none.
    static QString locate(const QString &file_name);

    QVariant loadResource(int type, const QUrl &name) override;

private:
    void follow_link(const QUrl &link);
};

// Opens the contents of the help file in the owner's help viewer, creating it on first use and
// raising it on later calls.
void open_help_contents(QWidget &owner, const QString &file_name);
