#pragma once

#include "BoardGeometry.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <numbers>
#include <string_view>
#include <numbers>

// How a board pixel is judged when hit areas are laid or measured: its region, and whether it lies clear of border lines.
namespace board_pixels {

enum class Kind { InnerBull, OuterBull, InnerSingle, Treble, OuterSingle, Double, Outside };

inline constexpr int kKindCount = 7;
inline constexpr std::array<std::string_view, kKindCount> kKindNames{
    "inner bull", "outer bull", "inner single", "treble", "outer single", "double", "number ring and corners"};

// Pixels closer than this to a border line are left out of the measurements.
inline constexpr double kBorderMargin = 2.0;

inline constexpr std::array<double, 6> kRingBorders{board::kInnerBullEdge,   board::kOuterBullEdge,
                                                    board::kInnerSingleEdge, board::kTrebleEdge,
                                                    board::kOuterSingleEdge, board::kDoubleEdge};

inline Kind kind_of(board::Ring ring)
{
    switch (ring) {
    case board::Ring::InnerBull:
        return Kind::InnerBull;
    case board::Ring::OuterBull:
        return Kind::OuterBull;
    case board::Ring::InnerSingle:
        return Kind::InnerSingle;
    case board::Ring::Treble:
        return Kind::Treble;
    case board::Ring::OuterSingle:
        return Kind::OuterSingle;
    case board::Ring::Double:
        return Kind::Double;
    default:
        return Kind::Outside;
    }
}

inline board::Region region_at(int x, int y)
{
    return board::region_at(x, y);
}

inline int true_value(int x, int y)
{
    return board::value_of(region_at(x, y));
}

// Segment lines run along the borders between segments, from the outer bull to the double ring.
inline double distance_to_segment_lines(double x, double y)
{
    const double dx = x - board::kCentre;
    const double dy = y - board::kCentre;
    double nearest = 1e9;
    for (int k = 0; k < 20; ++k) {
        const double radians = (board::kSegmentDegrees / 2.0 + k * board::kSegmentDegrees) * std::numbers::pi / 180.0;
        const double ux = std::sin(radians);
        const double uy = -std::cos(radians);
        const double along = std::clamp(dx * ux + dy * uy, board::kOuterBullEdge, board::kDoubleEdge);
        nearest = std::min(nearest, std::hypot(dx - along * ux, dy - along * uy));
    }
    return nearest;
}

inline double distance_to_border(int x, int y)
{
    const double r = board::radius_of(x, y);
    double nearest = distance_to_segment_lines(x, y);
    for (const double edge : kRingBorders)
        nearest = std::min(nearest, std::abs(r - edge));
    return nearest;
}

inline bool is_measured(int x, int y)
{
    return distance_to_border(x, y) >= kBorderMargin;
}

} // namespace board_pixels
