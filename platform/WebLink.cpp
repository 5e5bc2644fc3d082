#include "WebLink.h"

#include <QDesktopServices>
#include <QString>
#include <QUrl>

void open_web_address(const QString &address)
{
    const QUrl url = QUrl::fromUserInput(address.trimmed());
    if (url.scheme() == QLatin1String("http") || url.scheme() == QLatin1String("https"))
        QDesktopServices::openUrl(url);
}
