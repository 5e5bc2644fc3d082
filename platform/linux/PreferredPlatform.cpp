#include "PlatformChoice.h"

QByteArray PlatformChoice::preferred_platform(const QByteArray &chosen, const QByteArray &display)
{
    if (!chosen.isEmpty() || display.isEmpty())
        return {};
    return QByteArrayLiteral("xcb;wayland");
}
