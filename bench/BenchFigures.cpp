#include "BenchFigures.h"

#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstdio>

namespace bench {

std::int64_t now_ns()
{
    return std::chrono::duration_cast<std::chrono::nanoseconds>(std::chrono::steady_clock::now().time_since_epoch())
        .count();
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
