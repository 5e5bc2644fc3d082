#include "ProcessCounters.h"

#include <sys/resource.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <string>

namespace bench {

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

} // namespace bench
