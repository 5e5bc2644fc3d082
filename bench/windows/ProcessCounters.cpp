#include "ProcessCounters.h"

#include <windows.h>

#include <psapi.h>

namespace bench {

namespace {

double ms_of(const FILETIME &time) // 100 ns units
{
    const ULARGE_INTEGER ticks{{time.dwLowDateTime, time.dwHighDateTime}};
    return static_cast<double>(ticks.QuadPart) / 10'000.0;
}

} // namespace

// The working set is the resident memory; its peak the high-water mark; the private bytes the
// anonymous part. File-backed pages are not counted apart.
long status_kb(std::string_view field)
{
    PROCESS_MEMORY_COUNTERS_EX counters{};
    counters.cb = sizeof counters;
    if (!GetProcessMemoryInfo(GetCurrentProcess(), reinterpret_cast<PROCESS_MEMORY_COUNTERS *>(&counters),
                              sizeof counters))
        return -1;
    if (field == "VmHWM")
        return static_cast<long>(counters.PeakWorkingSetSize / 1024);
    if (field == "VmRSS")
        return static_cast<long>(counters.WorkingSetSize / 1024);
    if (field == "RssAnon")
        return static_cast<long>(counters.PrivateUsage / 1024);
    return -1;
}

double cpu_ms()
{
    FILETIME created{}, ended{}, kernel{}, user{};
    if (!GetProcessTimes(GetCurrentProcess(), &created, &ended, &kernel, &user))
        return 0.0;
    return ms_of(kernel) + ms_of(user);
}

long context_switches()
{
    return -1;
}

} // namespace bench
