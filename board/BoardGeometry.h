#pragma once

#include <array>
#include <cmath>
#include <numbers>

// The dart board as the board picture is drawn and the hit areas are laid: pixels of the
// 480 x 480 picture, origin at its top-left corner, angles clockwise from straight up.
namespace board {

inline constexpr int kPictureSize = 480;
inline constexpr double kCentre = 240.0;

// Outer edge of each ring; the one-pixel border lines are centred on these radii.
inline constexpr double kInnerBullEdge = 12.5;
inline constexpr double kOuterBullEdge = 30.5;
inline constexpr double kInnerSingleEdge = 84.5;
inline constexpr double kTrebleEdge = 100.5;
inline constexpr double kOuterSingleEdge = 162.5;
inline constexpr double kDoubleEdge = 181.0;
inline constexpr double kBoardEdge = 240.0;

inline constexpr double kSegmentDegrees = 18.0;
// Clockwise from the 20 at the top.
inline constexpr std::array<int, 20> kSegmentOrder{20, 1,  18, 4,  13, 6,  10, 15, 2,  17,
                                                   3,  19, 7,  16, 8,  11, 14, 9,  12, 5};

// The numbers are written in the number ring between these radii.
inline constexpr double kNumberInner = 194.0;
inline constexpr double kNumberOuter = 222.0;

enum class Ring { InnerBull, OuterBull, InnerSingle, Treble, OuterSingle, Double, NumberRing, Corner };

struct Region {
    Ring ring;
    int number; // 1 to 20 for the segment rings, 0 for the bulls, the number ring and the corners
};

// Angle of a point in degrees, clockwise from straight up, in [0, 360).
inline double angle_of(double x, double y)
{
    const double degrees = std::atan2(x - kCentre, kCentre - y) * 180.0 / std::numbers::pi;
    return degrees < 0.0 ? degrees + 360.0 : degrees;
}

inline double radius_of(double x, double y)
{
    return std::hypot(x - kCentre, y - kCentre);
}

// Index into kSegmentOrder of the segment that holds the angle.
inline int segment_index(double degrees)
{
    return static_cast<int>(std::floor((degrees + kSegmentDegrees / 2.0) / kSegmentDegrees)) % 20;
}

inline int segment_number(double degrees)
{
    return kSegmentOrder[static_cast<std::size_t>(segment_index(degrees))];
}

// Single areas alternate black and cream, starting with a black 20.
inline bool segment_is_dark(int index)
{
    return index % 2 == 0;
}

inline Ring ring_at_radius(double r)
{
    if (r < kInnerBullEdge)
        return Ring::InnerBull;
    if (r < kOuterBullEdge)
        return Ring::OuterBull;
    if (r < kInnerSingleEdge)
        return Ring::InnerSingle;
    if (r < kTrebleEdge)
        return Ring::Treble;
    if (r < kOuterSingleEdge)
        return Ring::OuterSingle;
    if (r < kDoubleEdge)
        return Ring::Double;
    if (r < kBoardEdge)
        return Ring::NumberRing;
    return Ring::Corner;
}

inline Region region_at(double x, double y)
{
    const Ring ring = ring_at_radius(radius_of(x, y));
    switch (ring) {
    case Ring::InnerSingle:
    case Ring::Treble:
    case Ring::OuterSingle:
    case Ring::Double:
        return {ring, segment_number(angle_of(x, y))};
    default:
        return {ring, 0};
    }
}

// What a dart in the region scores.
inline int value_of(Region region)
{
    switch (region.ring) {
    case Ring::InnerBull:
        return 50;
    case Ring::OuterBull:
        return 25;
    case Ring::InnerSingle:
    case Ring::OuterSingle:
        return region.number;
    case Ring::Treble:
        return 3 * region.number;
    case Ring::Double:
        return 2 * region.number;
    default:
        return 0;
    }
}

} // namespace board
