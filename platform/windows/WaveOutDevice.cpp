#include "WaveOutDevice.h"

#include "PlatformLog.h"
#include "WaveOutStream.h"

#include <algorithm>

namespace {

constexpr std::chrono::milliseconds kDonePoll{20};

} // namespace

WaveOutDevice::WaveOutDevice(UINT id, std::shared_ptr<WaveOutCalls> calls)
    : id_(id)
    , calls_(std::move(calls))
    , done_event_(CreateEventW(nullptr, FALSE, FALSE, nullptr))
{
}

// The player lets the device go on the sound thread before it goes; an open handle left here was
// held by a call that did not come back in time, which lets the device go last. What the driver still
// holds then stays for the rest of the program, with the event it sets.
WaveOutDevice::~WaveOutDevice()
{
    if (current_)
        release();
    if (kept_.empty()) {
        CloseHandle(done_event_);
        return;
    }
    qCWarning(lcPlatform, "the output device still holds %zu sound(s) at the end", kept_.size());
    for (std::unique_ptr<WaveOutStream> &stream : kept_)
        static_cast<void>(stream.release());
}

bool WaveOutDevice::find_device() const
{
    const UINT count = calls_->device_count();
    return id_ == WAVE_MAPPER ? count > 0 : id_ < count;
}

void WaveOutDevice::open(const WaveImage::Format &format)
{
    stop(current_ && current_->format() == format);
    if (current_)
        return;
    if (kept_.size() >= kMostKept) {
        qCDebug(lcPlatform, "no new handle: the output device holds %zu already", kept_.size());
        return;
    }
    current_ = WaveOutStream::open(*calls_, id_, format, done_event_);
    count_handles();
}

bool WaveOutDevice::write(QByteArray samples)
{
    if (!current_)
        return false;
    ResetEvent(done_event_);
    return current_->write(std::move(samples));
}

bool WaveOutDevice::wait_played(Clock::time_point until)
{
    if (!current_)
        return false;
    // The event only wakes the wait early.
    while (!current_->played()) {
        const auto left = std::chrono::ceil<std::chrono::milliseconds>(until - Clock::now());
        if (left <= left.zero())
            return false;
        WaitForSingleObject(done_event_, DWORD(std::min(left, kDonePoll).count()));
    }
    return true;
}

void WaveOutDevice::take_back()
{
    stop(true);
}

void WaveOutDevice::release()
{
    stop(false);
}

void WaveOutDevice::stop(bool keep_open)
{
    if (current_) {
        current_->stop();
        if (!keep_open || !current_->give_back())
            kept_.push_back(std::move(current_));
    }
    close_kept();
    count_handles();
}

void WaveOutDevice::close_kept()
{
    std::erase_if(kept_, [](const std::unique_ptr<WaveOutStream> &stream) { return stream->close(); });
}

void WaveOutDevice::count_handles()
{
    handles_ = kept_.size() + (current_ ? 1 : 0);
}
