#include "SoundFeed.h"

#include <algorithm>
#include <cstring>

void SoundFeed::start(std::span<const std::uint8_t> samples, std::uint8_t silence, int bytes_per_second)
{
    const std::lock_guard lock(mutex_);
    samples_ = samples;
    position_ = 0;
    silence_ = silence;
    bytes_per_second_ = std::max(bytes_per_second, 1);
    first_sample_at_.reset();
    last_taken_at_ = Clock::now();
    last_sample_ends_at_.reset();
}

void SoundFeed::fill(std::uint8_t *stream, int length)
{
    const auto size = static_cast<std::size_t>(std::max(length, 0));
    const std::lock_guard lock(mutex_);
    const std::size_t count = std::min(size, samples_.size() - position_);
    if (count > 0) {
        const auto now = Clock::now();
        if (position_ == 0)
            first_sample_at_ = now;
        last_taken_at_ = now;
        std::memcpy(stream, samples_.data() + position_, count);
        position_ += count;
        if (handed_over()) {
            const std::chrono::duration<double> tail(static_cast<double>(count) / bytes_per_second_);
            last_sample_ends_at_ = now + std::chrono::duration_cast<Clock::duration>(tail);
            handed_over_.notify_all();
        }
    }
    std::memset(stream + count, silence_, size - count);
}

bool SoundFeed::wait_handed_over(Clock::time_point until)
{
    std::unique_lock lock(mutex_);
    return handed_over_.wait_until(lock, until, [this] { return handed_over(); });
}

void SoundFeed::stop()
{
    const std::lock_guard lock(mutex_);
    samples_ = {};
    position_ = 0;
}

std::optional<SoundFeed::Clock::time_point> SoundFeed::first_sample_at() const
{
    const std::lock_guard lock(mutex_);
    return first_sample_at_;
}

SoundFeed::Clock::time_point SoundFeed::last_taken_at() const
{
    const std::lock_guard lock(mutex_);
    return last_taken_at_;
}

std::optional<SoundFeed::Clock::time_point> SoundFeed::last_sample_ends_at() const
{
    const std::lock_guard lock(mutex_);
    return last_sample_ends_at_;
}

bool SoundFeed::handed_over() const
{
    return !samples_.empty() && position_ == samples_.size();
}
