#pragma once

#include "SoundInterface.h"
#include "SoundThread.h"

#include <QTimer>

#include <chrono>

// What every system's wave player shares: its bounds, the sound thread its blocking calls run on, the
// idle timer that lets the device go, and the one warning while sound is off.
class BoundedSound : public SoundInterface {
public:
    // How long the device is kept after a sound, in case another follows.
    static constexpr std::chrono::seconds kKeepOpen{4};
    // The longest anything but the sound itself may hold the caller.
    static constexpr std::chrono::milliseconds kBound{250};

    // Lets the device go without waiting; the next sound opens it again.
    virtual void release() = 0;
    // Whether a blocking call has not come back yet; sound is off meanwhile.
    bool busy() const { return thread_.busy(); }

protected:
    using Clock = SoundThread::Clock;

    BoundedSound();

    // Restarted by every sound; needs the event loop, which the program runs while it waits for clicks.
    void close_later() { close_timer_.start(); }
    // Once per time the server stops answering; sound is on again by itself when it answers.
    void say_off();
    void say_on() { said_off_ = false; }
    // A context for calls the event loop makes later, gone with the player.
    QObject *lifetime() { return &close_timer_; }

    SoundThread thread_;

private:
    QTimer close_timer_;
    bool said_off_ = false;
};
