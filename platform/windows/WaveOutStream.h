#pragma once

#include "WaveImage.h"
#include "WaveOutCalls.h"

#include <QByteArray>

#include <memory>

// One open handle of the wave output device and the one buffer written to it. A device lost mid-sound
// may keep the buffer after a reset and refuse to close: the samples are kept until the driver has
// given the buffer back, and the handle until it has closed.
class WaveOutStream {
public:
    // Null when the device refuses to open.
    static std::unique_ptr<WaveOutStream> open(WaveOutCalls &calls, UINT id, const WaveImage::Format &format,
                                               HANDLE done_event);
    WaveOutStream(WaveOutCalls &calls, HWAVEOUT handle, const WaveImage::Format &format);
    WaveOutStream(const WaveOutStream &) = delete;
    WaveOutStream &operator=(const WaveOutStream &) = delete;

    const WaveImage::Format &format() const { return format_; }
    // Hands `samples` to the driver; only once the buffer written before has been given back.
    bool write(QByteArray samples);
    // Whether the driver has played the buffer and given it back; on any thread.
    bool played();
    // Asks the driver to give the buffer back unplayed.
    void stop();
    // Unprepares the buffer once the driver has given it back; true when it holds none.
    bool give_back();
    // True once the buffer is given back and the handle closed.
    bool close();

private:
    WaveOutCalls &calls_;
    const HWAVEOUT handle_;
    const WaveImage::Format format_;
    WAVEHDR header_{};
    QByteArray samples_; // the driver's until the header is unprepared
    bool prepared_ = false;
    bool queued_ = false;
};
