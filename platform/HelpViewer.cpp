#include "HelpViewer.h"

#include "Twips.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTextDocument>

#ifndef OCHRELINE_HELP_DIR
#define OCHRELINE_HELP_DIR "/usr/local/share/ochreline"
#endif

namespace {

bool is_local(const QUrl &url)
{
    if (url.scheme() == QLatin1String("qrc"))
        return true;
    const bool local_scheme = url.scheme().isEmpty() || url.scheme() == QLatin1String("file");
    return local_scheme && url.host().isEmpty();
}

QString read_text(const QString &path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return {};
    return QString::fromUtf8(file.readAll());
}

} // namespace

HelpViewer::HelpViewer(QWidget &owner)
    : QTextBrowser(&owner)
{
    setObjectName(QStringLiteral("HelpViewer"));
    setWindowFlags(Qt::Window);
    setWindowTitle(QStringLiteral("Ochreline Help"));
    resize(twips::size(9000, 7500));

    setOpenExternalLinks(false);
    setOpenLinks(false);
    connect(this, &QTextBrowser::anchorClicked, this, &HelpViewer::follow_link);
}

QString HelpViewer::locate(const QString &file_name)
{
    if (file_name.isEmpty())
        return {};
    // The installed data directory also relative to the executable, so a relocated install finds it.
    const QString beside = QCoreApplication::applicationDirPath();
    const QStringList directories{QDir::currentPath(), beside, beside + QStringLiteral("/../share/ochreline"),
                                  QStringLiteral(OCHRELINE_HELP_DIR)};
    for (const QString &directory : directories) {
        const QFileInfo candidate(QDir(directory), file_name);
        if (candidate.isFile() && candidate.isReadable())
            return candidate.absoluteFilePath();
    }
    return {};
}

void HelpViewer::show_contents(const QString &file_name)
{
    const QString path = locate(file_name);
    if (path.isEmpty()) {
        document()->setBaseUrl(QUrl());
        setPlainText(tr("The help file %1 could not be found.").arg(file_name));
        return;
    }
    document()->setBaseUrl(QUrl::fromLocalFile(path));
    setHtml(read_text(path));
}

QVariant HelpViewer::loadResource(int type, const QUrl &name)
{
    if (!is_local(name))
        return {};
    return QTextBrowser::loadResource(type, name);
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
