#include "HelpViewer.h"

#include "HelpFile.h"
#include "Twips.h"
#include "Version.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QImage>
#include <QTextDocument>

#include <optional>

namespace {

// Set by set_search_directories(); until then the default directories are searched.
std::optional<QStringList> &chosen_directories()
{
    static std::optional<QStringList> directories;
    return directories;
}

} // namespace

HelpViewer::HelpViewer(QWidget &owner)
    : QTextBrowser(&owner)
{
    setObjectName(QStringLiteral("HelpViewer"));
    setWindowFlags(Qt::Window);
    setWindowTitle(QString::fromUtf8(version::kProductName) + QStringLiteral(" Help"));
    resize(twips::size(9000, 7500));

    setOpenExternalLinks(false);
    setOpenLinks(false);
    connect(this, &QTextBrowser::anchorClicked, this, &HelpViewer::follow_link);
}

QStringList HelpViewer::search_directories()
{
    if (chosen_directories())
        return *chosen_directories();
    return help_file_directories(QCoreApplication::applicationDirPath());
}

void HelpViewer::set_search_directories(const QStringList &directories)
{
    chosen_directories() = directories;
}

QString HelpViewer::locate(const QString &file_name)
{
    if (file_name.isEmpty())
        return {};
    for (const QString &directory : search_directories()) {
        const QFileInfo candidate(QDir(directory), file_name);
        if (candidate.isFile() && candidate.isReadable())
            return candidate.absoluteFilePath();
    }
    return {};
}

void HelpViewer::show_contents(const QString &file_name)
{
    const QString path = locate(file_name);
    const HelpText help = path.isEmpty() ? HelpText{HelpText::Outcome::Missing, {}} : read_help_file(path);
    const QString shown = QDir::toNativeSeparators(path);
    switch (help.outcome) {
    case HelpText::Outcome::Read:
        document()->setBaseUrl(QUrl::fromLocalFile(path));
        setHtml(help.text);
        return;
    case HelpText::Outcome::Missing:
        show_message(tr("The help file %1 could not be found.").arg(file_name));
        return;
    case HelpText::Outcome::NotAFile:
        show_message(tr("The help file %1 is not a regular file and is not shown.").arg(shown));
        return;
    case HelpText::Outcome::TooLarge:
        show_message(tr("The help file %1 is too large to show: it holds %2 bytes, and a help file may hold "
                        "at most %3.")
                         .arg(shown)
                         .arg(help.size)
                         .arg(kLargestHelpFile));
        return;
    }
}

void HelpViewer::show_message(const QString &message)
{
    document()->setBaseUrl(QUrl());
    setPlainText(message);
}

QVariant HelpViewer::loadResource(int type, const QUrl &)
{
    // Nothing beyond the help file itself is read: no picture, style sheet or other file, from anywhere.
    // An empty resource rather than none, as Qt reads a file itself when given none; for a picture
    // that takes a blank picture, as an empty one is read from the file named too.
    if (type == QTextDocument::ImageResource) {
        QImage blank(1, 1, QImage::Format_ARGB32);
        blank.fill(Qt::transparent);
        return blank;
    }
    return QByteArray();
}

void HelpViewer::follow_link(const QUrl &link)
{
    // Only jumps within the shown document: "#anchor", or the document's own address with an anchor.
    const QUrl page = document()->baseUrl().adjusted(QUrl::RemoveFragment);
    const QUrl target = page.resolved(link);
    if (!link.hasFragment() || target.adjusted(QUrl::RemoveFragment) != page)
        return;
    scrollToAnchor(link.fragment());
}

void open_help_contents(QWidget &owner, const QString &file_name)
{
    // Closing the viewer only hides it; it lives as long as its owner.
    auto *viewer = owner.findChild<HelpViewer *>(QString(), Qt::FindDirectChildrenOnly);
    if (!viewer)
        viewer = new HelpViewer(owner);
    viewer->show_contents(file_name);
    viewer->show();
    viewer->raise();
    viewer->activateWindow();
}
