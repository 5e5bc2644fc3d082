#pragma once

#include "WaveImage.h"
#include "WaveOutCalls.h"

#include <QByteArray>

#include <windows.h>
#include <mmsystem.h>

#include <atomic>
#include <chrono>
#include <memory>

// The system's wave output device, open in one format at a time, playing one sound at a time. A wave
// call may wait for the sound server for as long as it does not answer, so every call but
// wait_played is made on the sound thread, one at a time.
class WaveOutDevice {
public:
    using Clock = std::chrono::steady_clock;

    // `id`: a device number, or WAVE_MAPPER for the system's choice; `calls`: the system's unless a test's.
    WaveOutDevice(UINT id, std::shared_ptr<WaveOutCalls> calls);
    ~WaveOutDevice();
    WaveOutDevice(const WaveOutDevice &) = delete;
    WaveOutDevice &operator=(const WaveOutDevice &) = delete;

    bool find_device() const;
    // Opens the device in `format`, unless it is open in it already.
    void open(const WaveImage::Format &format);
    // Hands `samples` to the open device; false when it refuses them.
    bool write(QByteArray samples);
    // Waits until the samples written last have been played, or `until`; on any thread.
    bool wait_played(Clock::time_point until);
    // Takes back what has not been played; the device stays open.
    void take_back();
    // Takes back what has not been played and closes the device.
    void release();
    bool is_open() const { return open_; }

private:
    void unprepare();

    const UINT id_;
    const std::shared_ptr<WaveOutCalls> calls_;
    HANDLE done_event_;
    HWAVEOUT handle_ = nullptr;
    WaveImage::Format format_;
    WAVEHDR header_{};
    QByteArray samples_; // kept until the device has given the header back
    std::atomic<bool> open_{false};
};
