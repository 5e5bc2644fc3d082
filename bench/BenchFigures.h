#pragma once

#include <cstdint>
#include <optional>
#include <string_view>
#include <vector>

// Clocks, statistics, process counters and the one-line output format shared by the benches.
namespace bench {

// CLOCK_MONOTONIC in nanoseconds: the same clock in every process, so a parent and its child agree.
std::int64_t now_ns();

double median(std::vector<double> values);
// Nearest-rank percentile, p in (0, 100].
double percentile(std::vector<double> values, double p);

// A field of /proc/self/status in kB (VmHWM, VmRSS), or -1 when it is missing.
long status_kb(std::string_view field);
// User plus system CPU time of the whole process, all threads, in milliseconds.
double cpu_ms();
// Voluntary and involuntary context switches of every thread of the process: how often it woke.
long context_switches();

// Prints "name value unit reference ratio"; "-" for a missing reference and for its ratio.
void print_figure(std::string_view name, double value, std::string_view unit,
                  std::optional<double> reference = std::nullopt);

} // namespace bench
