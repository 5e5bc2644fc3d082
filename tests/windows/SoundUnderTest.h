#pragma once

#include "WaveOutSound.h"

#include <QByteArray>
#include <QTest>

#include <memory>

// The window's sound in the bad-input test on Windows: the wave player on the device a row names.
class SoundUnderTest {
public:
    // The system's choice (none in the tests unless a sound server answers) and a device number the
    // system does not have; `fails`: a sound cannot complete. A device is "any" or a number.
    static void add_rows()
    {
        QTest::addColumn<QByteArray>("device");
        QTest::addColumn<bool>("fails");
        QTest::newRow("system's device") << QByteArray("any") << false;
        QTest::newRow("no such device") << QByteArray("1000") << true;
    }

    explicit SoundUnderTest(const QByteArray &device)
        : player_(std::make_unique<WaveOutSound>(device == "any" ? WaveOutSound::kAnyDevice : device.toUInt()))
    {
    }

    SoundInterface &sound() { return *player_; }
    bool completed() const { return player_->last_playback().completed; }

private:
    std::unique_ptr<WaveOutSound> player_;
};
