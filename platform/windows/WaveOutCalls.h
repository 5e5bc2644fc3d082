#pragma once

#include <windows.h>
#include <mmsystem.h>

// The system's waveOut calls that the wave player makes, one virtual each so that a test can put a
// driver of its own with injected failures in their place.
class WaveOutCalls {
public:
    virtual ~WaveOutCalls() = default;

    virtual UINT device_count();
    // Opens device `id` in `format`; the driver sets `done_event` whenever it gives a header back.
    virtual MMRESULT open(HWAVEOUT *handle, UINT id, const WAVEFORMATEX &format, HANDLE done_event);
    virtual MMRESULT prepare(HWAVEOUT handle, WAVEHDR &header);
    virtual MMRESULT write(HWAVEOUT handle, WAVEHDR &header);
    virtual MMRESULT reset(HWAVEOUT handle);
    virtual MMRESULT unprepare(HWAVEOUT handle, WAVEHDR &header);
    virtual MMRESULT close(HWAVEOUT handle);
};
