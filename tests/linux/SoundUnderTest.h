#pragma once

#include "SoundPlayer.h"

#include <QByteArray>
#include <QTest>

#include <memory>

// The window's sound in the bad-input test on Linux: SDL's audio on the driver a row of the test names.
class SoundUnderTest {
public:
    // A device that works, none at all, one whose file cannot be created, and one that fails while it
    // writes; `fails`: a sound cannot complete. A device is "DRIVER" or "disk:FILE".
    static void add_rows()
    {
        QTest::addColumn<QByteArray>("device");
        QTest::addColumn<bool>("fails");
        QTest::newRow("dummy device") << QByteArray("dummy") << false;
        QTest::newRow("no such driver") << QByteArray("no_such_driver") << false;
        QTest::newRow("disk file cannot be created") << QByteArray("disk:/nonexistent/ochreline/out.raw") << false;
        QTest::newRow("disk full while writing") << QByteArray("disk:/dev/full") << true;
    }

    explicit SoundUnderTest(const QByteArray &device)
    {
        const QList<QByteArray> driver_and_file = device.split(':');
        qputenv("SDL_DISKAUDIOFILE", driver_and_file.value(1));
        player_ = std::make_unique<SoundPlayer>(driver_and_file.first());
    }

    SoundInterface &sound() { return *player_; }
    bool completed() const { return player_->last_playback().completed; }

private:
    std::unique_ptr<SoundPlayer> player_;
};
