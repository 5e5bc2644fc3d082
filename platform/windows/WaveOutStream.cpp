#include "WaveOutStream.h"

#include "PlatformLog.h"

#include <atomic>

namespace {

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

bool succeeded(const char *call, MMRESULT result)
{
    if (result != MMSYSERR_NOERROR)
        qCDebug(lcPlatform, "%s: error %u", call, result);
    return result == MMSYSERR_NOERROR;
}

} // namespace

std::unique_ptr<WaveOutStream> WaveOutStream::open(WaveOutCalls &calls, UINT id, const WaveImage::Format &format,
                                                   HANDLE done_event)
{
    HWAVEOUT handle = nullptr;
    if (!succeeded("waveOutOpen", calls.open(&handle, id, wave_format(format), done_event)))
        return nullptr;
    return std::make_unique<WaveOutStream>(calls, handle, format);
}

WaveOutStream::WaveOutStream(WaveOutCalls &calls, HWAVEOUT handle, const WaveImage::Format &format)
    : calls_(calls)
    , handle_(handle)
    , format_(format)
{
}

bool WaveOutStream::write(QByteArray samples)
{
    if (prepared_ || samples.size() > qsizetype(MAXDWORD))
        return false;
    samples_ = std::move(samples);
    header_ = WAVEHDR{};
    header_.lpData = samples_.data();
    header_.dwBufferLength = DWORD(samples_.size());
    prepared_ = succeeded("waveOutPrepareHeader", calls_.prepare(handle_, header_));
    queued_ = prepared_ && succeeded("waveOutWrite", calls_.write(handle_, header_));
    if (!prepared_)
        samples_.clear();
    return queued_;
}

bool WaveOutStream::played()
{
    // The driver's own thread sets the flag.
    return (std::atomic_ref(header_.dwFlags).load() & WHDR_DONE) != 0;
}

void WaveOutStream::stop()
{
    if (queued_ && !played() && !succeeded("waveOutReset", calls_.reset(handle_)))
        qCWarning(lcPlatform, "the output device did not take back its sound: kept until it gives it back");
}

bool WaveOutStream::give_back()
{
    if (!prepared_)
        return true;
    if (queued_ && !played())
        return false;
    if (!succeeded("waveOutUnprepareHeader", calls_.unprepare(handle_, header_)))
        return false;
    prepared_ = queued_ = false;
    header_ = WAVEHDR{};
    samples_.clear();
    return true;
}

bool WaveOutStream::close()
{
    return give_back() && succeeded("waveOutClose", calls_.close(handle_));
}
