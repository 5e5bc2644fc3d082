#include "WaveOutCalls.h"

UINT WaveOutCalls::device_count()
{
    return waveOutGetNumDevs();
}

MMRESULT WaveOutCalls::open(HWAVEOUT *handle, UINT id, const WAVEFORMATEX &format, HANDLE done_event)
{
    return waveOutOpen(handle, id, &format, DWORD_PTR(done_event), 0, CALLBACK_EVENT);
}

MMRESULT WaveOutCalls::prepare(HWAVEOUT handle, WAVEHDR &header)
{
    return waveOutPrepareHeader(handle, &header, sizeof header);
}

MMRESULT WaveOutCalls::write(HWAVEOUT handle, WAVEHDR &header)
{
    return waveOutWrite(handle, &header, sizeof header);
}

MMRESULT WaveOutCalls::reset(HWAVEOUT handle)
{
    return waveOutReset(handle);
}

MMRESULT WaveOutCalls::unprepare(HWAVEOUT handle, WAVEHDR &header)
{
    return waveOutUnprepareHeader(handle, &header, sizeof header);
}

MMRESULT WaveOutCalls::close(HWAVEOUT handle)
{
    return waveOutClose(handle);
}
