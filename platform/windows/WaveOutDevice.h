#pragma once

#include "WaveImage.h"
#include "WaveOutCalls.h"

#include <QByteArray>

#include <atomic>
#include <chrono>
#include <memory>
#include <vector>

class WaveOutStream;

// The system's wave output device, open in one format at a time, playing one sound at a time. A wave
// call may wait for the sound server for as long as it does not answer, so every call but
// wait_played is made on the sound thread, one at a time.
//
// A handle whose driver has not given its buffer back, or has not closed, is kept aside with its
// samples and closed by a later call; the next sound opens a fresh handle meanwhile.
class WaveOutDevice {
public:
    using Clock = std::chrono::steady_clock;

    // `id`: a device number, or WAVE_MAPPER for the system's choice; `calls`: the system's unless a test's.
    WaveOutDevice(UINT id, std::shared_ptr<WaveOutCalls> calls);
    ~WaveOutDevice();
    WaveOutDevice(const WaveOutDevice &) = delete;
    WaveOutDevice &operator=(const WaveOutDevice &) = delete;

    bool find_device() const;
    // Opens the device in `format`, unless it is open in it already and free for a sound.
    void open(const WaveImage::Format &format);
    // Hands `samples` to the open device; false when it refuses them.
    bool write(QByteArray samples);
    // Waits until the samples written last have been played, or `until`; on any thread.
    bool wait_played(Clock::time_point until);
    // Takes back what has not been played; the device stays open unless its driver keeps the sound.
    void take_back();
    // Takes back what has not been played and closes the device, as far as the driver lets it.
    void release();
    // Whether a handle is open, for sounds or kept aside; on any thread.
    bool is_open() const { return handles_ > 0; }

private:
    // Handles kept aside at most: a driver that keeps every one has lost its device.
    static constexpr std::size_t kMostKept = 4;

    // Takes back what has not been played; the handle stays for the next sound if `keep_open` and the
    // driver has given its buffer back, and is otherwise set aside and closed as far as the driver lets it.
    void stop(bool keep_open);
    void close_kept();
    void count_handles();

    const UINT id_;
    const std::shared_ptr<WaveOutCalls> calls_;
    HANDLE done_event_;
    std::unique_ptr<WaveOutStream> current_;
    std::vector<std::unique_ptr<WaveOutStream>> kept_;
    std::atomic<std::size_t> handles_{0};
};
