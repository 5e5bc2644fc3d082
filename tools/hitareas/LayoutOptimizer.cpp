#include "LayoutOptimizer.h"

#include "BoardPixels.h"

#include <algorithm>
#include <bit>
#include <cmath>
#include <numbers>

// A pixel costs nothing when the topmost area over it belongs to its region's group; a wrong
// group costs far more than a gap, and pixels next to a printed border line count for little.
// Lower areas may reach under higher neighbours, which then take the click there.
namespace {

constexpr int kSize = board::kPictureSize;

constexpr float kMeasuredGap = 1.0F;
constexpr float kMeasuredWrong = 1000.0F;
constexpr float kBorderGap = 0.05F;
constexpr float kBorderWrong = 0.3F;
// Leaving the middle of a region uncovered costs as much as a patch of wrong pixels.
constexpr float kMiddleGap = 500.0F;

PixelBox intersection(const PixelBox &a, const PixelBox &b)
{
    return {std::max(a.x0, b.x0), std::max(a.y0, b.y0), std::min(a.x1, b.x1), std::min(a.y1, b.y1)};
}

// a minus b as up to four disjoint boxes (some of them empty).
std::array<PixelBox, 4> difference(const PixelBox &a, const PixelBox &b)
{
    const int mid0 = std::max(a.y0, b.y0);
    const int mid1 = std::min(a.y1, b.y1);
    return {{{a.x0, a.y0, a.x1, std::min(a.y1, b.y0)},
             {a.x0, std::max(a.y0, b.y1), a.x1, a.y1},
             {a.x0, mid0, std::min(a.x1, b.x0), mid1},
             {std::max(a.x0, b.x1), mid0, a.x1, mid1}}};
}

constexpr double kInnerShare = 0.4;

// The pixel at a radius on a line at an angle clockwise from straight up.
PixelBox polar_pixel(double radius, double degrees)
{
    const double radians = degrees * std::numbers::pi / 180.0;
    const int x = static_cast<int>(std::lround(board::kCentre + radius * std::sin(radians)));
    const int y = static_cast<int>(std::lround(board::kCentre - radius * std::cos(radians)));
    return {x, y, x + 1, y + 1};
}

double centre_line(int number)
{
    const auto at = std::find(board::kSegmentOrder.begin(), board::kSegmentOrder.end(), number);
    return static_cast<double>(at - board::kSegmentOrder.begin()) * board::kSegmentDegrees;
}

// count pixels spread evenly along the centre line between two radii.
std::vector<PixelBox> along_radius(int count, double inner, double outer, double degrees)
{
    std::vector<PixelBox> seeds;
    for (int i = 0; i < count; ++i)
        seeds.push_back(polar_pixel(inner + (outer - inner) * (i + 0.5) / count, degrees));
    return seeds;
}

bool inside_picture(const PixelBox &box)
{
    return !box.empty() && box.x0 >= 0 && box.y0 >= 0 && box.x1 <= kSize && box.y1 <= kSize;
}

} // namespace

LayoutOptimizer::LayoutOptimizer(const AreaPlan &plan, std::uint32_t seed)
    : plan_(plan)
    , areas_(plan.areas())
    , group_pixels_(plan.groups().size())
    , truth_(kSize * kSize)
    , gap_cost_(kSize * kSize)
    , wrong_cost_(kSize * kSize)
    , measured_(kSize * kSize)
    , cover_(kSize * kSize, Cover{})
    , rng_(seed)
{
    static_assert(kNone >= 208);
    for (int y = 0; y < kSize; ++y) {
        for (int x = 0; x < kSize; ++x) {
            const int p = y * kSize + x;
            const bool measured = board_pixels::is_measured(x, y);
            truth_[p] = static_cast<std::int16_t>(plan.group_of(board_pixels::region_at(x, y)));
            measured_[p] = measured;
            gap_cost_[p] = measured ? kMeasuredGap : kBorderGap;
            wrong_cost_[p] = measured ? kMeasuredWrong : kBorderWrong;
            if (measured)
                group_pixels_[truth_[p]].push_back(p);
        }
    }
    mark_region_middles();
    for (int a = 0; a < static_cast<int>(areas_.size()); ++a) {
        if (!areas_[a].fixed)
            movable_.push_back(a);
        set_cover(intersection(areas_[a].box, {0, 0, kSize, kSize}), a, true);
    }
    cost_ = total_cost();
}

// Every region must take a click at its middle: the middle of its ring on the segment's centre line.
void LayoutOptimizer::mark_region_middles()
{
    const std::array<double, 7> edges{0.0,
                                      board::kInnerBullEdge,
                                      board::kOuterBullEdge,
                                      board::kInnerSingleEdge,
                                      board::kTrebleEdge,
                                      board::kOuterSingleEdge,
                                      board::kDoubleEdge};
    for (const int number : board::kSegmentOrder) {
        for (std::size_t ring = 0; ring + 1 < edges.size(); ++ring) {
            const PixelBox middle = polar_pixel((edges[ring] + edges[ring + 1]) / 2.0, centre_line(number));
            for (int y = middle.y0 - 1; y <= middle.y0 + 1; ++y) {
                for (int x = middle.x0 - 1; x <= middle.x0 + 1; ++x)
                    gap_cost_[y * kSize + x] = kMiddleGap;
            }
        }
    }
}

int LayoutOptimizer::top_at(int pixel) const
{
    const Cover &cover = cover_[pixel];
    for (int w = 0; w < kWords; ++w) {
        if (cover[w] != 0)
            return w * 64 + std::countr_zero(cover[w]);
    }
    return kNone;
}

int LayoutOptimizer::top_without(int pixel, int area) const
{
    Cover cover = cover_[pixel];
    cover[area / 64] &= ~(std::uint64_t{1} << (area % 64));
    for (int w = 0; w < kWords; ++w) {
        if (cover[w] != 0)
            return w * 64 + std::countr_zero(cover[w]);
    }
    return kNone;
}

double LayoutOptimizer::pixel_cost(int pixel, int top) const
{
    if (top == kNone)
        return gap_cost_[pixel];
    return areas_[top].group == truth_[pixel] ? 0.0 : wrong_cost_[pixel];
}

double LayoutOptimizer::delta_add(const PixelBox &box, int area) const
{
    double delta = 0.0;
    for (int y = box.y0; y < box.y1; ++y) {
        for (int x = box.x0; x < box.x1; ++x) {
            const int p = y * kSize + x;
            const int top = top_at(p);
            if (area < top)
                delta += pixel_cost(p, area) - pixel_cost(p, top);
        }
    }
    return delta;
}

double LayoutOptimizer::delta_remove(const PixelBox &box, int area) const
{
    double delta = 0.0;
    for (int y = box.y0; y < box.y1; ++y) {
        for (int x = box.x0; x < box.x1; ++x) {
            const int p = y * kSize + x;
            if (top_at(p) == area)
                delta += pixel_cost(p, top_without(p, area)) - pixel_cost(p, area);
        }
    }
    return delta;
}

void LayoutOptimizer::set_cover(const PixelBox &box, int area, bool on)
{
    const std::uint64_t bit = std::uint64_t{1} << (area % 64);
    for (int y = box.y0; y < box.y1; ++y) {
        for (int x = box.x0; x < box.x1; ++x) {
            std::uint64_t &word = cover_[y * kSize + x][area / 64];
            word = on ? (word | bit) : (word & ~bit);
        }
    }
}

double LayoutOptimizer::move_delta(int area, const PixelBox &to) const
{
    const PixelBox &from = areas_[area].box;
    double delta = 0.0;
    for (const PixelBox &part : difference(from, to)) {
        if (!part.empty())
            delta += delta_remove(part, area);
    }
    for (const PixelBox &part : difference(to, from)) {
        if (!part.empty())
            delta += delta_add(part, area);
    }
    return delta;
}

void LayoutOptimizer::move(int area, const PixelBox &to)
{
    const PixelBox from = areas_[area].box;
    for (const PixelBox &part : difference(from, to)) {
        if (!part.empty())
            set_cover(part, area, false);
    }
    for (const PixelBox &part : difference(to, from)) {
        if (!part.empty())
            set_cover(part, area, true);
    }
    areas_[area].box = to;
}

double LayoutOptimizer::total_cost() const
{
    double sum = 0.0;
    for (int p = 0; p < kSize * kSize; ++p)
        sum += pixel_cost(p, top_at(p));
    return sum;
}

PixelBox LayoutOptimizer::random_seed_box(int area)
{
    const std::vector<int> &pixels = group_pixels_[areas_[area].group];
    const int p = pixels[below(static_cast<std::uint32_t>(pixels.size()))];
    return {p % kSize, p / kSize, p % kSize + 1, p / kSize + 1};
}

// Four bands along the sides, then per corner of the picture rectangles from that corner to
// points of the double ring's outer edge at even angles.
std::vector<PixelBox> LayoutOptimizer::miss_staircase(int count)
{
    const int near = static_cast<int>(std::floor(board::kCentre - board::kDoubleEdge));
    const int far = static_cast<int>(std::ceil(board::kCentre + board::kDoubleEdge));
    std::vector<PixelBox> boxes{
        {0, 0, kSize, near}, {0, far, kSize, kSize}, {0, 0, near, kSize}, {far, 0, kSize, kSize}};
    const int steps = (count - 4) / 4;
    for (int corner = 0; corner < 4; ++corner) {
        for (int s = 1; s <= steps; ++s) {
            const double radians = (90.0 * s / (steps + 1)) * std::numbers::pi / 180.0;
            const double dx = board::kDoubleEdge * std::sin(radians);
            const double dy = board::kDoubleEdge * std::cos(radians);
            const int left = static_cast<int>(std::floor(board::kCentre - dx));
            const int right = static_cast<int>(std::ceil(board::kCentre + dx));
            const int top = static_cast<int>(std::floor(board::kCentre - dy));
            const int bottom = static_cast<int>(std::ceil(board::kCentre + dy));
            const bool is_left = corner % 2 == 0;
            const bool is_top = corner < 2;
            boxes.push_back({is_left ? 0 : right, is_top ? 0 : bottom, is_left ? left : kSize, is_top ? top : kSize});
        }
    }
    return boxes;
}

void LayoutOptimizer::seed_group(const AreaGroup &group, const std::vector<int> &members)
{
    const int count = static_cast<int>(members.size());
    const double degrees = centre_line(group.number);
    std::vector<PixelBox> seeds;
    if (group.ring == board::Ring::NumberRing) {
        seeds = miss_staircase(count);
    } else if (group.ring == board::Ring::InnerSingle) {
        const int inner = std::clamp(static_cast<int>(std::lround(count * kInnerShare)), 1, std::max(1, count - 1));
        seeds = along_radius(inner, board::kOuterBullEdge, board::kInnerSingleEdge, degrees);
        for (const PixelBox &seed : along_radius(count - inner, board::kTrebleEdge, board::kOuterSingleEdge, degrees))
            seeds.push_back(seed);
    } else if (group.ring == board::Ring::Treble || group.ring == board::Ring::Double) {
        const double inner = group.ring == board::Ring::Treble ? board::kInnerSingleEdge : board::kOuterSingleEdge;
        const double outer = group.ring == board::Ring::Treble ? board::kTrebleEdge : board::kDoubleEdge;
        for (int i = 0; i < count; ++i) {
            const double offset = board::kSegmentDegrees * ((i + 0.5) / count - 0.5);
            seeds.push_back(polar_pixel((inner + outer) / 2.0, degrees + offset));
        }
    }
    for (int i = 0; i < count; ++i) {
        const int area = members[static_cast<std::size_t>(i)];
        move(area, i < static_cast<int>(seeds.size()) ? seeds[static_cast<std::size_t>(i)] : random_seed_box(area));
    }
}

void LayoutOptimizer::seed_movable_areas()
{
    for (int g = 0; g < static_cast<int>(plan_.groups().size()); ++g) {
        std::vector<int> members;
        for (const int area : movable_) {
            if (areas_[area].group == g)
                members.push_back(area);
        }
        seed_group(plan_.groups()[g], members);
    }
    cost_ = total_cost();
}

void LayoutOptimizer::stretch_misses(int miss_group)
{
    for (const int area : movable_) {
        if (areas_[area].group != miss_group)
            continue;
        const PixelBox box = areas_[area].box;
        const std::array<PixelBox, 4> stretched{{{0, box.y0, box.x1, box.y1},
                                                 {box.x0, 0, box.x1, box.y1},
                                                 {box.x0, box.y0, kSize, box.y1},
                                                 {box.x0, box.y0, box.x1, kSize}}};
        for (PixelBox to : stretched) {
            // Apply each side on top of the sides already stretched.
            const PixelBox &now = areas_[area].box;
            to = {std::min(to.x0, now.x0), std::min(to.y0, now.y0), std::max(to.x1, now.x1), std::max(to.y1, now.y1)};
            const double delta = move_delta(area, to);
            if (delta <= 0.0) {
                move(area, to);
                cost_ += delta;
            }
        }
    }
}

PixelBox LayoutOptimizer::random_edge_move(const PixelBox &box)
{
    const int step = (below(4) == 0 ? 1 + static_cast<int>(below(4)) : 1) * (below(2) == 0 ? 1 : -1);
    PixelBox to = box;
    switch (below(4)) {
    case 0:
        to.x0 += step;
        break;
    case 1:
        to.x1 += step;
        break;
    case 2:
        to.y0 += step;
        break;
    default:
        to.y1 += step;
        break;
    }
    return to;
}

PixelBox LayoutOptimizer::random_shift(const PixelBox &box)
{
    const int step = below(2) == 0 ? 1 : -1;
    const bool across = below(2) == 0;
    return {box.x0 + (across ? step : 0), box.y0 + (across ? 0 : step), box.x1 + (across ? step : 0),
            box.y1 + (across ? 0 : step)};
}

bool LayoutOptimizer::propose(int area, PixelBox &to)
{
    const std::uint32_t kind = below(1000);
    const PixelBox &box = areas_[area].box;
    if (kind < 780)
        to = random_edge_move(box);
    else if (kind < 995)
        to = random_shift(box);
    else
        to = random_seed_box(area);
    return inside_picture(to);
}

void LayoutOptimizer::anneal(std::int64_t moves, double t_start, double t_end)
{
    const double cooling = std::log(t_end / t_start) / static_cast<double>(moves);
    for (std::int64_t i = 0; i < moves; ++i) {
        const double temperature = t_start * std::exp(cooling * static_cast<double>(i));
        const int area = movable_[below(static_cast<std::uint32_t>(movable_.size()))];
        PixelBox to{};
        if (!propose(area, to))
            continue;
        const double delta = move_delta(area, to);
        if (delta <= 0.0 || uniform() < std::exp(-delta / temperature)) {
            move(area, to);
            cost_ += delta;
        }
    }
    cost_ = total_cost();
}

void LayoutOptimizer::polish()
{
    bool improved = true;
    while (improved) {
        improved = false;
        for (const int area : movable_) {
            for (int side = 0; side < 4; ++side) {
                for (const int step : {1, -1}) {
                    PixelBox to = areas_[area].box;
                    int *edges[] = {&to.x0, &to.x1, &to.y0, &to.y1};
                    *edges[side] += step;
                    if (!inside_picture(to))
                        continue;
                    const double delta = move_delta(area, to);
                    if (delta < -1e-9) {
                        move(area, to);
                        improved = true;
                    }
                }
            }
        }
    }
    cost_ = total_cost();
}

LayoutOptimizer::Tally LayoutOptimizer::measured_tally() const
{
    Tally tally;
    for (int p = 0; p < kSize * kSize; ++p) {
        if (!measured_[p])
            continue;
        const int top = top_at(p);
        if (top == kNone)
            ++tally.gap;
        else if (areas_[top].group == truth_[p])
            ++tally.correct;
        else
            ++tally.wrong;
    }
    return tally;
}

int LayoutOptimizer::repairable_pixel(const std::vector<bool> &tried) const
{
    for (int p = 0; p < kSize * kSize; ++p) {
        const int top = top_at(p);
        if (!measured_[p] || tried[p] || top == kNone || areas_[top].group == truth_[p])
            continue;
        for (const int area : movable_) {
            if (area < top && areas_[area].group == truth_[p])
                return p;
        }
    }
    return -1;
}

void LayoutOptimizer::restore(const std::vector<PlannedArea> &snapshot)
{
    for (std::size_t a = 0; a < snapshot.size(); ++a)
        move(static_cast<int>(a), snapshot[a].box);
    cost_ = total_cost();
}

void LayoutOptimizer::repair_wrong_pixels()
{
    std::vector<bool> tried(kSize * kSize);
    for (int pixel = repairable_pixel(tried); pixel >= 0; pixel = repairable_pixel(tried)) {
        tried[pixel] = true;
        const int top = top_at(pixel);
        const PixelBox spot{pixel % kSize, pixel / kSize, pixel % kSize + 1, pixel / kSize + 1};
        int best = -1;
        double best_delta = 0.0;
        for (const int area : movable_) {
            if (area >= top || areas_[area].group != truth_[pixel])
                continue;
            const double delta = move_delta(area, spot);
            if (best < 0 || delta < best_delta) {
                best = area;
                best_delta = delta;
            }
        }
        const std::vector<PlannedArea> snapshot = areas_;
        const double cost_before = cost_;
        move(best, spot);
        polish();
        if (cost_ >= cost_before)
            restore(snapshot);
    }
}
