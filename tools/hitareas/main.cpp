// Lays the hit areas over the board picture and writes them as a C++ table.
// Usage: hitareas_generator OUTPUT.h [MOVES]

#include "AreaPlan.h"
#include "LayoutOptimizer.h"
#include "TableWriter.h"

#include <chrono>
#include <cstdint>
#include <fstream>
#include <iostream>
#include <string>

namespace {

constexpr std::uint32_t kSeed = 20260401;
constexpr std::int64_t kMoves = 60'000'000;
constexpr double kHotTemperature = 2.0;
constexpr double kColdTemperature = 0.01;

void report(const char *stage, const LayoutOptimizer &optimizer)
{
    const LayoutOptimizer::Tally tally = optimizer.measured_tally();
    const double total = tally.correct + tally.wrong + tally.gap;
    std::cout << stage << ": cost " << optimizer.cost() << ", measured pixels correct " << 100.0 * tally.correct / total
              << "%, wrong " << tally.wrong << ", uncovered " << tally.gap << '\n';
}

} // namespace

int main(int argc, char **argv)
{
    if (argc != 2 && argc != 3) {
        std::cerr << "usage: " << argv[0] << " OUTPUT.h [MOVES]\n";
        return 2;
    }
    const auto started = std::chrono::steady_clock::now();
    const AreaPlan plan;
    LayoutOptimizer optimizer(plan, kSeed);
    const int miss = plan.group_named("miss");
    optimizer.seed_movable_areas();
    optimizer.anneal(argc == 3 ? std::stoll(argv[2]) : kMoves, kHotTemperature, kColdTemperature);
    report("annealed", optimizer);
    optimizer.polish();
    optimizer.repair_wrong_pixels();
    optimizer.stretch_misses(miss);
    report("polished", optimizer);

    TableWriter writer(plan, optimizer.areas());
    if (!writer.extend_edge_misses()) {
        std::cerr << "fewer than ten miss areas touch the picture's edge\n";
        return 1;
    }
    writer.order_elements();
    std::ofstream out(argv[1]);
    writer.write(out);
    if (!out) {
        std::cerr << "cannot write " << argv[1] << '\n';
        return 1;
    }
    const std::chrono::duration<double> took = std::chrono::steady_clock::now() - started;
    std::cout << "wrote " << argv[1] << " in " << took.count() << " s\n";
    return 0;
}
