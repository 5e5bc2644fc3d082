#include "BoundedSound.h"

#include "PlatformLog.h"

BoundedSound::BoundedSound()
{
    close_timer_.setSingleShot(true);
    close_timer_.setInterval(kKeepOpen);
    QObject::connect(&close_timer_, &QTimer::timeout, &close_timer_, [this] { release(); });
}

void BoundedSound::say_off()
{
    if (!said_off_)
        qCWarning(lcPlatform, "sound off until the sound server answers");
    said_off_ = true;
}
