#pragma once

#include "SoundFeed.h"

#include <QByteArrayView>
#include <QString>

#include <chrono>
#include <cstdint>
#include <optional>

// Plays the embedded wave sounds synchronously through SDL's audio subsystem.
//
// The output device stays open between sounds: closing a device drains several buffer periods,
// which would stretch every short sound by a second or more. It is opened on first use in the
// format of the sound, with a small buffer, and reopened when a sound in another format comes
// along or the device has failed. Nothing else outlives a call; each sound is loaded afresh.
// Used from the user-interface thread only.
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
    // Closes the output device; the next sound opens it again.
    void close_device();

    const Playback &last_playback() const { return playback_; }

private:
    struct Format {
        int frequency = 0;
        std::uint16_t encoding = 0;
        int channels = 0;
        bool operator==(const Format &) const = default;
    };

    enum class Subsystem { Untried, Ready, Failed };

    void begin(std::int32_t flags);
    void perform(QByteArrayView image);
    bool audio_ready();
    bool open_device(const Format &format);
    bool wait_until_played(std::chrono::nanoseconds length);
    bool device_stopped() const;

    Subsystem subsystem_ = Subsystem::Untried;
    std::uint32_t device_ = 0;
    Format device_format_;
    std::uint8_t silence_ = 0;
    SoundFeed feed_;
    Playback playback_;
    SoundFeed::Clock::time_point called_at_;
};

// Whether SDL reports at least one audio output device.
bool has_wave_device();
// Plays the embedded sound `name` and returns when it has been heard; as if flags were 6.
void play_sound(const QString &name);
void play_sound(const QString &name, std::int32_t &flags);
