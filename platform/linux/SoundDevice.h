#pragma once

#include "SoundFeed.h"

#include <QByteArray>

#include <atomic>
#include <cstdint>

struct SdlLibrary;

// SDL's audio subsystem and the one output device the sound player plays through. Every call that can
// block runs on the player's sound thread; the player reads the rest only while that thread is idle.
class SoundDevice {
public:
    struct Format {
        int frequency = 0;
        std::uint16_t encoding = 0;
        int channels = 0;
        bool operator==(const Format &) const = default;
    };

    // `driver`: SDL's audio driver to use, or empty for SDL's own choice (SDL_AUDIODRIVER, else its order).
    explicit SoundDevice(QByteArray driver);
    ~SoundDevice();
    SoundDevice(const SoundDevice &) = delete;
    SoundDevice &operator=(const SoundDevice &) = delete;

    // Blocking calls.
    const SdlLibrary *load_library();
    // Whether SDL reports an output device; SDL's audio is let go again unless a device is open.
    bool find_device();
    // Starts SDL's audio if needed and has the device open and running in `format`.
    bool open(const Format &format);
    // Closes the device and lets SDL's audio go: an idle program keeps no audio thread, and the next
    // start picks the driver again, for a sound server that has come back.
    void release();
    // Frees what SDL keeps for the calling thread (its error text); the last call on a thread that ends.
    void leave_thread();

    // Calls that return at once.
    const SdlLibrary *library() const { return library_.load(); }
    bool is_open() const { return device_ != 0; }
    bool stopped() const;
    // A device opened a moment ago that has not yet completed a sound; see kNewStreamWait.
    bool waiting_for_new_stream() const;
    void mark_played() { played_ = true; }
    std::uint8_t silence() const { return silence_; }
    SoundFeed &feed() { return feed_; }

private:
    bool start_audio();
    bool driver_is(const char *name) const;
    bool driver_is_a_sound_server() const;
    void close();

    QByteArray driver_;
    std::atomic<const SdlLibrary *> library_ = nullptr; // set once, read while a call may run
    bool audio_started_ = false;
    std::uint32_t device_ = 0;
    Format format_;
    SoundFeed::Clock::time_point opened_at_;
    int listed_at_open_ = 0; // output devices SDL listed just before the device was opened
    bool played_ = false;
    std::uint8_t silence_ = 0;
    SoundFeed feed_;
};
