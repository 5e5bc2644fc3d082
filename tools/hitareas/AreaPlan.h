#pragma once

#include "BoardGeometry.h"
#include "PixelBox.h"

#include <cstdint>
#include <string>
#include <vector>

// One hit area while it is being laid out.
struct PlannedArea {
    int group;          // id of the group in AreaPlan
    std::int16_t index; // element index, -1 when the group is a single control
    bool fixed;         // a rectangle given in advance, never moved
    PixelBox box;
};

struct AreaGroup {
    std::string name;
    std::int16_t value;
    int count;
    bool is_array;
    board::Ring ring; // InnerSingle stands for both single areas; NumberRing for the misses
    int number;       // 1 to 20 for segment groups, 0 otherwise
};

// The hit-area groups in stacking order from the top down, with the number of rectangles of each
// and the rectangles that are given in advance; the areas come out in the same stacking order.
class AreaPlan {
public:
    AreaPlan();

    const std::vector<AreaGroup> &groups() const { return groups_; }
    const std::vector<PlannedArea> &areas() const { return areas_; }
    std::vector<PlannedArea> &areas() { return areas_; }

    // The group that a click on this region of the board should reach.
    int group_of(board::Region region) const;
    int group_named(const std::string &name) const;

private:
    void add_group(const std::string &name);
    void place_fixed_areas();

    std::vector<AreaGroup> groups_;
    std::vector<PlannedArea> areas_;
};
