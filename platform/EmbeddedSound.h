#pragma once

#include <QByteArray>
#include <QString>

// The wave image of the embedded sound ":/WAVE/<name>", name in any case; empty when there is none.
QByteArray load_embedded_sound(const QString &name);
