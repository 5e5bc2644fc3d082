#pragma once

#include <string_view>

// What the running process has used so far, as the system it runs on counts it.
namespace bench {

// Memory in kB by the names of Linux's /proc/self/status (VmHWM, VmRSS, RssAnon, RssFile), or -1
// where the system does not count it.
long status_kb(std::string_view field);
// User plus system CPU time of the whole process, all threads, in milliseconds.
double cpu_ms();
// Voluntary and involuntary context switches of every thread of the process: how often it woke; -1
// where the system does not count them.
long context_switches();

} // namespace bench
