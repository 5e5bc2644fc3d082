#include "ResidentMemory.h"

#include <windows.h>

#include <psapi.h>

// The working set is what Windows keeps resident.
double resident_kib()
{
    PROCESS_MEMORY_COUNTERS counters{};
    counters.cb = sizeof counters;
    if (!GetProcessMemoryInfo(GetCurrentProcess(), &counters, sizeof counters))
        return 0;
    return static_cast<double>(counters.WorkingSetSize) / 1024.0;
}
