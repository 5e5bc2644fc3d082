#pragma once

#include "BoundedSound.h"
#include "SoundDevice.h"

#include <QByteArray>
#include <QByteArrayView>

#include <chrono>
#include <memory>
#include <optional>

// Plays the embedded wave sounds synchronously through SDL's audio, and never holds its caller longer
// than a sound's length plus a quarter second, nor a quarter second for anything else.
//
// The output device stays open between sounds: closing a device drains several buffer periods,
// which would stretch every short sound by a second or more. It is opened on first use in the
// format of the sound (an 8-bit sound as 16-bit, whose silence is zero), with a small buffer, and
// reopened when a sound in another format comes along or the device has failed. A few seconds after
// the last sound the event loop lets the device and SDL's audio go, so an idle program has no audio
// thread. A play that the device stops taking samples from is given up. Whatever can block (loading
// SDL, starting its audio, opening and closing the device) runs on the sound thread; while such a
// call has not come back, sound is off and a play waits for it at most within its own bound, and it
// is on again by itself once the call is back. A sound server's device that does not open is asked
// for again a moment later within the same call. Each sound is loaded afresh. Used from the
// user-interface thread only.
class SoundPlayer final : public BoundedSound {
public:
    // What the most recent play did; read by the sound tests and benches.
    struct Playback {
        std::chrono::nanoseconds length{0};                   // nominal length of the sound
        bool completed = false;                               // every sample went to the device
        std::optional<std::chrono::nanoseconds> first_sample; // from the call to the first sample handed over
    };

    // How long past its length a sound may take to be played: SDL's device takes samples at once.
    static constexpr std::chrono::milliseconds kPlayedBound = kBound;

    // `driver`: SDL's audio driver, or empty for SDL's own choice (the SDL_AUDIODRIVER variable, else its order).
    explicit SoundPlayer(QByteArray driver = {});
    ~SoundPlayer() override;
    SoundPlayer(const SoundPlayer &) = delete;
    SoundPlayer &operator=(const SoundPlayer &) = delete;

    void check_device(QObject *context, std::function<void(bool found)> answer) override;
    void play(const QString &name) override;
    // Plays a complete RIFF wave image.
    void play_image(QByteArrayView image);
    // Lets the device and SDL's audio go without waiting; the next sound starts both again.
    void release() override;

    const Playback &last_playback() const { return playback_; }

private:
    // Cut: the device took samples all along but started too late to finish within the bound.
    enum class Outcome { Completed, Cut, Stalled, Failed };
    void begin();
    void perform(QByteArrayView image);
    bool library_ready();
    Outcome wait_until_played(Clock::time_point deadline);
    void finish(Outcome outcome);

    std::shared_ptr<SoundDevice> device_;
    Playback playback_;
    Clock::time_point called_at_;
};
