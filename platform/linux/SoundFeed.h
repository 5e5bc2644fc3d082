#pragma once

#include <chrono>
#include <condition_variable>
#include <cstddef>
#include <cstdint>
#include <mutex>
#include <optional>
#include <span>

// Hands one sound at a time from the playing thread to the audio device's callback thread.
class SoundFeed {
public:
    using Clock = std::chrono::steady_clock;

    // Starts feeding `samples`, which must stay alive until stop() returns.
    void start(std::span<const std::uint8_t> samples, std::uint8_t silence, int bytes_per_second);
    // Called on the audio thread: copies the next samples into `stream`, silence after the end.
    void fill(std::uint8_t *stream, int length);
    // Waits until every sample has been handed to the device, at most until `until`.
    bool wait_handed_over(Clock::time_point until);
    // Lets go of the samples; from now on the device gets silence.
    void stop();

    std::optional<Clock::time_point> first_sample_at() const;
    // When the device last took samples of this sound, or when the sound was started.
    Clock::time_point last_taken_at() const;
    // When the device has played out the last sample it was handed.
    std::optional<Clock::time_point> last_sample_ends_at() const;

private:
    bool handed_over() const;

    mutable std::mutex mutex_;
    std::condition_variable handed_over_;
    std::span<const std::uint8_t> samples_;
    std::size_t position_ = 0;
    std::uint8_t silence_ = 0;
    int bytes_per_second_ = 1;
    std::optional<Clock::time_point> first_sample_at_;
    Clock::time_point last_taken_at_;
    std::optional<Clock::time_point> last_sample_ends_at_;
};
