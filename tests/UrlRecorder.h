#pragma once

#include <QObject>
#include <QUrl>

// Stands in for the desktop's web handler: records the addresses it is handed and opens nothing.
class UrlRecorder : public QObject {
    Q_OBJECT
public:
    QList<QUrl> opened;
public slots:
    void open(const QUrl &url) { opened << url; }
};
