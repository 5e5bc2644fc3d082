#pragma once

#include "AreaPlan.h"

#include <array>
#include <cstdint>
#include <random>
#include <vector>

// Lays all hit areas together by simulated annealing on their edges, scoring every picture pixel.
class LayoutOptimizer {
public:
    struct Tally {
        int correct = 0;
        int wrong = 0;
        int gap = 0;
    };

    LayoutOptimizer(const AreaPlan &plan, std::uint32_t seed);

    // Puts every movable area on one pixel of its own region: singles spread along the centre
    // line of their segment, about two fifths of them in the inner single area, doubles spread
    // along their arc. The misses start as bands along the picture's sides and staircases
    // from its corners to the double ring.
    void seed_movable_areas();
    // Carries each miss area's outer edges out to the picture's edge wherever that costs nothing.
    void stretch_misses(int miss_group);
    void anneal(std::int64_t moves, double t_start, double t_end);
    // Single-pixel moves of every edge for as long as any of them lowers the cost.
    void polish();

    // For each pixel that still scores a wrong group, tries moving an area of the right group
    // that lies higher in the stack onto it and polishing; keeps the change when the cost drops.
    void repair_wrong_pixels();

    double cost() const { return cost_; }
    // Outcome over the pixels that lie clear of every border line.
    Tally measured_tally() const;
    const std::vector<PlannedArea> &areas() const { return areas_; }

private:
    static constexpr int kWords = 4;
    static constexpr int kNone = kWords * 64;
    using Cover = std::array<std::uint64_t, kWords>;

    void mark_region_middles();
    int top_at(int pixel) const;
    int top_without(int pixel, int area) const;
    double pixel_cost(int pixel, int top) const;
    double delta_add(const PixelBox &box, int area) const;
    double delta_remove(const PixelBox &box, int area) const;
    void set_cover(const PixelBox &box, int area, bool on);
    double move_delta(int area, const PixelBox &to) const;
    void move(int area, const PixelBox &to);
    bool propose(int area, PixelBox &to);
    PixelBox random_edge_move(const PixelBox &box);
    PixelBox random_shift(const PixelBox &box);
    PixelBox random_seed_box(int area);
    static std::vector<PixelBox> miss_staircase(int count);
    void seed_group(const AreaGroup &group, const std::vector<int> &members);
    double total_cost() const;
    int repairable_pixel(const std::vector<bool> &tried) const;
    void restore(const std::vector<PlannedArea> &snapshot);
    std::uint32_t below(std::uint32_t n) { return rng_() % n; }
    double uniform() { return rng_() / 4294967296.0; }

    const AreaPlan &plan_;
    std::vector<PlannedArea> areas_;
    std::vector<int> movable_;
    std::vector<std::vector<int>> group_pixels_; // measured pixels of each group's region
    std::vector<std::int16_t> truth_;            // group of each pixel's region
    std::vector<float> gap_cost_;
    std::vector<float> wrong_cost_;
    std::vector<bool> measured_;
    std::vector<Cover> cover_;
    std::mt19937 rng_;
    double cost_ = 0.0;
};
