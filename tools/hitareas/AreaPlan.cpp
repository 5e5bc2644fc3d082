#include "AreaPlan.h"

#include "Twips.h"

#include <array>
#include <stdexcept>
#include <string_view>

namespace {

constexpr std::array<std::string_view, 63> kStackingOrder{
    "miss",  "sin15", "sin10", "sin2",  "sin17", "sin13", "sin4",    "sin18", "sin1",  "sin5",  "sin12",
    "sin9",  "sin14", "sin8",  "sin16", "tri18", "tri4",  "tri9",    "tri12", "tri5",  "tri1",  "tri13",
    "tri14", "tri8",  "tri16", "tri10", "tri15", "tri2",  "tri17",   "tri6",  "dbl17", "dbl2",  "dbl15",
    "dbl10", "dbl13", "dbl4",  "dbl18", "dbl1",  "dbl5",  "dbl12",   "dbl9",  "dbl14", "dbl8",  "dbl16",
    "tri7",  "sin7",  "dbl7",  "tri19", "dbl19", "sin19", "dbl6",    "sin6",  "dbl11", "tri11", "sin11",
    "sin3",  "tri3",  "dbl3",  "sin20", "tri20", "dbl20", "dblbull", "bull"};

// Rectangles per single and per double group, by number (index 0 unused).
constexpr std::array<int, 21> kSingleCounts{0, 5, 7, 2, 11, 4, 2, 6, 4, 7, 6, 2, 6, 7, 4, 8, 7, 6, 8, 5, 2};
constexpr std::array<int, 21> kDoubleCounts{0, 3, 3, 1, 3, 3, 1, 4, 3, 3, 3, 1, 4, 3, 3, 3, 3, 2, 3, 2, 1};
constexpr int kMissCount = 25;

struct FixedArea {
    std::string_view group;
    int index;
    int left, top, width, height; // twips
};

constexpr std::array<FixedArea, 7> kFixedAreas{{
    {"dblbull", 0, 3420, 3420, 375, 375},
    {"bull", 0, 3195, 3195, 825, 825},
    {"sin20", 1, 3465, 2340, 285, 780},
    {"tri20", 0, 3375, 2115, 465, 240},
    {"sin20", 0, 3285, 1170, 645, 915},
    {"dbl20", 0, 3195, 900, 825, 285},
    {"miss", 0, 1980, 90, 3390, 780},
}};

int number_after(std::string_view name, std::string_view prefix)
{
    return std::stoi(std::string(name.substr(prefix.size())));
}

PixelBox to_box(const FixedArea &area)
{
    const int x0 = twips::to_pixels(area.left);
    const int y0 = twips::to_pixels(area.top);
    return {x0, y0, x0 + twips::to_pixels(area.width), y0 + twips::to_pixels(area.height)};
}

} // namespace

AreaPlan::AreaPlan()
{
    for (const std::string_view name : kStackingOrder)
        add_group(std::string(name));
    for (int g = 0; g < static_cast<int>(groups_.size()); ++g) {
        for (int i = 0; i < groups_[g].count; ++i) {
            const auto index = static_cast<std::int16_t>(groups_[g].is_array ? i : -1);
            areas_.push_back({g, index, false, {0, 0, 1, 1}});
        }
    }
    place_fixed_areas();
}

void AreaPlan::add_group(const std::string &name)
{
    const std::string_view n = name;
    if (n == "miss") {
        groups_.push_back({name, 0, kMissCount, true, board::Ring::NumberRing, 0});
    } else if (n == "bull") {
        groups_.push_back({name, 25, 1, false, board::Ring::OuterBull, 0});
    } else if (n == "dblbull") {
        groups_.push_back({name, 50, 1, false, board::Ring::InnerBull, 0});
    } else if (n.starts_with("sin")) {
        const int number = number_after(n, "sin");
        groups_.push_back(
            {name, static_cast<std::int16_t>(number), kSingleCounts[number], true, board::Ring::InnerSingle, number});
    } else if (n.starts_with("tri")) {
        const int number = number_after(n, "tri");
        groups_.push_back({name, static_cast<std::int16_t>(3 * number), 1, false, board::Ring::Treble, number});
    } else {
        const int number = number_after(n, "dbl");
        const int count = kDoubleCounts[number];
        // dbl3 is an array of one element; the other one-rectangle groups are single controls.
        groups_.push_back({name, static_cast<std::int16_t>(2 * number), count, count > 1 || number == 3,
                           board::Ring::Double, number});
    }
}

void AreaPlan::place_fixed_areas()
{
    for (const FixedArea &fixed : kFixedAreas) {
        const int group = group_named(std::string(fixed.group));
        for (PlannedArea &area : areas_) {
            const int element = groups_[group].is_array ? fixed.index : -1;
            if (area.group == group && area.index == element) {
                area.fixed = true;
                area.box = to_box(fixed);
            }
        }
    }
}

int AreaPlan::group_named(const std::string &name) const
{
    for (int g = 0; g < static_cast<int>(groups_.size()); ++g) {
        if (groups_[g].name == name)
            return g;
    }
    throw std::invalid_argument("no hit-area group " + name);
}

int AreaPlan::group_of(board::Region region) const
{
    const std::string number = std::to_string(region.number);
    switch (region.ring) {
    case board::Ring::InnerBull:
        return group_named("dblbull");
    case board::Ring::OuterBull:
        return group_named("bull");
    case board::Ring::InnerSingle:
    case board::Ring::OuterSingle:
        return group_named("sin" + number);
    case board::Ring::Treble:
        return group_named("tri" + number);
    case board::Ring::Double:
        return group_named("dbl" + number);
    default:
        return group_named("miss");
    }
}
