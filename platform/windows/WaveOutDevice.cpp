#include "WaveOutDevice.h"

#include "PlatformLog.h"

#include <algorithm>

namespace {

constexpr std::chrono::milliseconds kDonePoll{20};

WAVEFORMATEX wave_format(const WaveImage::Format &format)
{
    WAVEFORMATEX wave{};
    wave.wFormatTag = WAVE_FORMAT_PCM;
    wave.nChannels = WORD(format.channels);
    wave.nSamplesPerSec = DWORD(format.frequency);
    wave.nAvgBytesPerSec = DWORD(format.bytes_per_second());
    wave.nBlockAlign = WORD(format.block());
    wave.wBitsPerSample = WORD(format.bits);
    return wave;
}

} // namespace

WaveOutDevice::WaveOutDevice(UINT id, std::shared_ptr<WaveOutCalls> calls)
    : id_(id)
    , calls_(std::move(calls))
    , done_event_(CreateEventW(nullptr, FALSE, FALSE, nullptr))
{
}

WaveOutDevice::~WaveOutDevice()
{
    release();
    CloseHandle(done_event_);
}

bool WaveOutDevice::find_device() const
{
    const UINT count = calls_->device_count();
    return id_ == WAVE_MAPPER ? count > 0 : id_ < count;
}

void WaveOutDevice::open(const WaveImage::Format &format)
{
    if (open_ && format == format_)
        return;
    release();
    const WAVEFORMATEX wave = wave_format(format);
    // The device sets the event whenever it gives a header back, so a wait for it needs no callback.
    const MMRESULT result = calls_->open(&handle_, id_, wave, done_event_);
    if (result != MMSYSERR_NOERROR) {
        qCDebug(lcPlatform, "waveOutOpen: error %u", result);
        handle_ = nullptr;
        return;
    }
    format_ = format;
    open_ = true;
}

bool WaveOutDevice::write(QByteArray samples)
{
    if (!open_ || samples.size() > qsizetype(MAXDWORD))
        return false;
    unprepare();
    samples_ = std::move(samples);
    header_ = WAVEHDR{};
    header_.lpData = samples_.data();
    header_.dwBufferLength = DWORD(samples_.size());
    if (calls_->prepare(handle_, header_) != MMSYSERR_NOERROR)
        return false;
    ResetEvent(done_event_);
    const MMRESULT result = calls_->write(handle_, header_);
    if (result != MMSYSERR_NOERROR)
        qCDebug(lcPlatform, "waveOutWrite: error %u", result);
    return result == MMSYSERR_NOERROR;
}

bool WaveOutDevice::wait_played(Clock::time_point until)
{
    // The device's own thread sets the flag; the event only wakes the wait early.
    const auto played = [this] { return (std::atomic_ref(header_.dwFlags).load() & WHDR_DONE) != 0; };
    while (!played()) {
        const auto left = std::chrono::ceil<std::chrono::milliseconds>(until - Clock::now());
        if (left <= left.zero())
            return false;
        WaitForSingleObject(done_event_, DWORD(std::min(left, kDonePoll).count()));
    }
    return true;
}

void WaveOutDevice::take_back()
{
    if (!open_)
        return;
    calls_->reset(handle_); // gives every header back, played or not
    unprepare();
}

void WaveOutDevice::release()
{
    if (!open_)
        return;
    take_back();
    calls_->close(handle_);
    handle_ = nullptr;
    open_ = false;
}

void WaveOutDevice::unprepare()
{
    if ((header_.dwFlags & WHDR_PREPARED) != 0) {
        if ((header_.dwFlags & WHDR_DONE) == 0)
            calls_->reset(handle_);
        calls_->unprepare(handle_, header_);
    }
    header_ = WAVEHDR{};
    samples_.clear();
}
