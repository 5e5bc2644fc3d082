#pragma once

#include "SoundFeed.h"

#include <QByteArrayView>
#include <QPointer>
#include <QString>
#include <QTimer>

#include <chrono>
#include <cstdint>
#include <optional>

// Plays the embedded wave sounds synchronously through SDL's audio subsystem.
//
// The output device stays open between sounds: closing a device drains several buffer periods,
// which would stretch every short sound by a second or more. It is opened on first use in the
// format of the sound, with a small buffer, and reopened when a sound in another format comes
// along or the device has failed. A few seconds after the last sound the event loop lets the
// device and SDL's audio go, so an idle program has no audio thread. A play that the device stops
// taking samples from is given up, so a dart never waits long on a sound. Nothing else outlives
// a call; each sound is loaded afresh. Used from the user-interface thread only.
class SoundPlayer {
public:
    // Flag bits of the play call: no default sound instead (2), image taken from memory (4).
    static constexpr std::int32_t kNoDefault = 2;
    static constexpr std::int32_t kMemory = 4;
    static constexpr std::int32_t kDefaultFlags = kNoDefault | kMemory;

    // What the most recent call did; read by the tests and the latency bench.
    struct Playback {
        std::int32_t flags = 0;
        std::chrono::nanoseconds length{0};                      // nominal length of the sound
        bool completed = false;                                  // every sample went to the device
        std::optional<std::chrono::nanoseconds> first_sample;    // from the call to the first sample handed over
    };

    // How long the device is kept after a sound, in case another follows.
    static constexpr std::chrono::seconds kKeepOpen{4};

    static SoundPlayer &instance();

    SoundPlayer() = default;
    ~SoundPlayer();
    SoundPlayer(const SoundPlayer &) = delete;
    SoundPlayer &operator=(const SoundPlayer &) = delete;

    bool has_device();
    // Plays the resource ":/WAVE/<name>"; `flags` always gains kMemory.
    void play(const QString &name, std::int32_t &flags);
    // Plays a complete RIFF wave image.
    void play_image(QByteArrayView image);
    // Closes the output device and lets SDL's audio go; the next sound starts both again.
    void release();

    const Playback &last_playback() const { return playback_; }

private:
    struct Format {
        int frequency = 0;
        std::uint16_t encoding = 0;
        int channels = 0;
        bool operator==(const Format &) const = default;
    };

    enum class Outcome { Completed, Stalled, Failed };

    void begin(std::int32_t flags);
    void perform(QByteArrayView image);
    bool audio_ready();
    bool open_device(const Format &format);
    void close_device();
    Outcome wait_until_played(std::chrono::nanoseconds length);
    bool device_stopped() const;
    bool waiting_for_new_stream() const;
    void close_later();

    bool audio_started_ = false;
    std::uint32_t device_ = 0;
    Format device_format_;
    SoundFeed::Clock::time_point device_opened_at_;
    bool device_played_ = false; // has completed a sound since it was opened
    std::uint8_t silence_ = 0;
    SoundFeed feed_;
    Playback playback_;
    SoundFeed::Clock::time_point called_at_;
    QPointer<QTimer> close_timer_; // owned by the application object
};

// Whether SDL reports at least one audio output device.
bool has_wave_device();
// Plays the embedded sound `name` and returns when it has been heard; as if flags were 6.
void play_sound(const QString &name);
void play_sound(const QString &name, std::int32_t &flags);
