#include "BenchFigures.h"

#include <sys/resource.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <ctime>
#include <filesystem>
#include <fstream>
#include <string>

namespace bench {

std::int64_t now_ns()
{
    timespec now{};
    clock_gettime(CLOCK_MONOTONIC, &now);
    return std::int64_t{now.tv_sec} * 1'000'000'000 + now.tv_nsec;
}

double median(std::vector<double> values)
{
    if (values.empty())
        return NAN;
    std::sort(values.begin(), values.end());
    const std::size_t middle = values.size() / 2;
    return values.size() % 2 == 1 ? values[middle] : (values[middle - 1] + values[middle]) / 2.0;
}

double percentile(std::vector<double> values, double p)
{
    if (values.empty())
        return NAN;
    std::sort(values.begin(), values.end());
    const auto rank = static_cast<std::size_t>(std::ceil(p / 100.0 * static_cast<double>(values.size())));
    return values[std::clamp<std::size_t>(rank, 1, values.size()) - 1];
}

namespace {

long field_of(const std::filesystem::path &status, std::string_view field)
{
    std::ifstream in(status);
    std::string line;
    while (std::getline(in, line)) {
        if (line.size() > field.size() && line.compare(0, field.size(), field) == 0 && line[field.size()] == ':')
            return std::stol(line.substr(field.size() + 1));
    }
    return -1;
}

} // namespace

long status_kb(std::string_view field)
{
    return field_of("/proc/self/status", field);
}

double cpu_ms()
{
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    auto ms = [](const timeval &t) {
        return static_cast<double>(t.tv_sec) * 1000.0 + static_cast<double>(t.tv_usec) / 1000.0;
    };
    return ms(usage.ru_utime) + ms(usage.ru_stime);
}

long context_switches()
{
    long total = 0;
    std::error_code error;
    for (const auto &task : std::filesystem::directory_iterator("/proc/self/task", error)) {
        const auto status = task.path() / "status";
        total += std::max(field_of(status, "voluntary_ctxt_switches"), 0L);
        total += std::max(field_of(status, "nonvoluntary_ctxt_switches"), 0L);
    }
    return total;
}

void print_figure(std::string_view name, double value, std::string_view unit, std::optional<double> reference)
{
    std::printf("%.*s %.3f %.*s ", static_cast<int>(name.size()), name.data(), value, static_cast<int>(unit.size()),
                unit.data());
    if (!reference)
        std::printf("- -\n");
    else if (*reference > 0.0)
        std::printf("%.3f %.2f\n", *reference, value / *reference);
    else
        std::printf("%.3f -\n", *reference);
    std::fflush(stdout);
}

} // namespace bench
