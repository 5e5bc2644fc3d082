#include "PlatformChoice.h"

// Windows has one window system: Qt's own choice stands.
QByteArray PlatformChoice::preferred_platform(const QByteArray &, const QByteArray &)
{
    return {};
}
