#pragma once

#include "BoundedSound.h"

#include <QByteArrayView>

#include <chrono>
#include <memory>

class WaveOutCalls;
class WaveOutDevice;

// Plays the embedded wave sounds synchronously through the system's wave player, and never holds its
// caller longer than a sound's length plus half a second, nor a quarter second for anything else.
//
// The device stays open between sounds in the format of the last one (an 8-bit sound as 16-bit,
// whose silence is zero), and is reopened when a sound in another format comes along. A few seconds
// after the last sound the event loop closes it, so an idle program has no audio thread. Wave calls
// (finding, opening, writing, closing) run on the sound thread: a sound server that stops answering
// holds them. While one has not come back, sound is off and a play returns at once; it is on again
// by itself once the call is back. A sound not played by the end of its bound is taken back; after two
// such in a row the device is closed. A handle whose driver keeps its sound or does not close (a device
// lost mid-sound) is kept, with the sound, and closed later; the next sound opens another meanwhile.
// Each sound is loaded afresh. Used from the user-interface thread only.
class WaveOutSound final : public BoundedSound {
public:
    // What the most recent play did; read by the sound tests.
    struct Playback {
        std::chrono::nanoseconds length{0}; // nominal length of the sound
        bool completed = false;             // the device says it has played every sample
    };

    // The system's choice of device (the wave mapper).
    static constexpr unsigned kAnyDevice = ~0u;
    // How long past its length a sound may take to be played. A wave device may start a sound late:
    // Wine's PulseAudio driver starts a new or reset stream 0.15 to 0.4 s after it is written. That is
    // playing, not hanging, and taking the sound back then cuts its end off and leaves the stream to
    // start as late again with the next sound.
    static constexpr std::chrono::milliseconds kPlayedBound{500};

    explicit WaveOutSound(unsigned device = kAnyDevice);
    // Through `calls` in place of the system's: a test's driver.
    WaveOutSound(unsigned device, std::shared_ptr<WaveOutCalls> calls);
    ~WaveOutSound() override;
    WaveOutSound(const WaveOutSound &) = delete;
    WaveOutSound &operator=(const WaveOutSound &) = delete;

    void check_device(QObject *context, std::function<void(bool found)> answer) override;
    void play(const QString &name) override;
    // Plays a complete RIFF wave image.
    void play_image(QByteArrayView image);
    // Closes the device without waiting; the next sound opens it again.
    void release() override;

    const Playback &last_playback() const { return playback_; }
    bool is_open() const;

private:
    void perform(QByteArrayView image);
    void give_up();

    std::shared_ptr<WaveOutDevice> device_;
    Playback playback_;
    int given_up_in_a_row_ = 0;
};
