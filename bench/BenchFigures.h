#pragma once

#include "ProcessCounters.h"

#include <cstdint>
#include <optional>
#include <string_view>
#include <vector>

// Clocks, statistics and the one-line output format shared by the benches; the process counters too.
namespace bench {

// The steady clock in nanoseconds; on Linux CLOCK_MONOTONIC, the same clock in every process, so a
// parent and its child agree.
std::int64_t now_ns();

double median(std::vector<double> values);
// Nearest-rank percentile, p in (0, 100].
double percentile(std::vector<double> values, double p);

// Prints "name value unit reference ratio"; "-" for a missing reference and for its ratio.
void print_figure(std::string_view name, double value, std::string_view unit,
                  std::optional<double> reference = std::nullopt);

} // namespace bench
