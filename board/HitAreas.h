#pragma once

#include <cstdint>
#include <span>
#include <string_view>

// The invisible click rectangles laid over the board picture, and the hit test that picks one.
struct HitArea {
    std::string_view group;
    std::int16_t index; // element of the group's control array; -1 when the group is a single control
    int left;           // twips relative to Picture1
    int top;
    int width;
    int height;
    std::int16_t value; // what a dart in this group scores

    constexpr bool contains(int x_twips, int y_twips) const
    {
        return left <= x_twips && x_twips < left + width && top <= y_twips && y_twips < top + height;
    }
};

// Picture1 is square; the parts of areas beyond its edge take no clicks.
inline constexpr int kBoardPictureTwips = 7200;

// All areas, from the top of the stack down.
std::span<const HitArea> hit_areas();

// The topmost area containing the point (twips relative to Picture1), or nullptr when the point
// lies outside the picture or on no area.
const HitArea *hit_test(int x_twips, int y_twips);
