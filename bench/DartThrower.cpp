#include "DartThrower.h"

#include "BoardGeometry.h"
#include "HitAreas.h"
#include "SyntheticClick.h"
#include "Twips.h"
#include "frmmain.h"

#include <QWidget>

#include <array>
#include <numbers>
#include <stdexcept>
#include <numbers>

namespace {

// Middle of each ring, in pixels from the centre, indexed by board::Ring.
constexpr std::array<double, 7> kRingMiddle{0.0, 21.5, 57.5, 92.5, 131.5, 172.0, 210.0};

std::vector<DartThrower::Dart> board_targets()
{
    using namespace board;
    std::vector<DartThrower::Dart> targets;
    auto add = [&targets](double radius, double degrees) {
        const double radians = degrees * std::numbers::pi / 180.0;
        const QPoint at(int(kCentre + radius * std::sin(radians)), int(kCentre - radius * std::cos(radians)));
        if (const HitArea *area = hit_test(twips::from_pixels(at.x()), twips::from_pixels(at.y())))
            targets.push_back({at, area->value});
    };
    add(kRingMiddle[static_cast<std::size_t>(Ring::InnerBull)], 0.0);
    add(kRingMiddle[static_cast<std::size_t>(Ring::OuterBull)], 0.0);
    for (std::size_t segment = 0; segment < kSegmentOrder.size(); ++segment) {
        for (Ring ring : {Ring::InnerSingle, Ring::Treble, Ring::OuterSingle, Ring::Double, Ring::NumberRing})
            add(kRingMiddle[static_cast<std::size_t>(ring)], kSegmentDegrees * double(segment));
    }
    return targets;
}

} // namespace

DartThrower::DartThrower(frmmain &window, Module1 &settings, std::uint32_t seed)
    : window_(window)
    , settings_(settings)
    , board_(window.findChild<QWidget *>(QStringLiteral("Picture1")))
    , targets_(board_targets())
    , random_(seed)
{
    if (!board_ || targets_.empty())
        throw std::runtime_error("no board to throw at");
    start_match();
}

void DartThrower::start_match()
{
    settings_.set_player_count(2);
    settings_.start_score = 501;
    window_.match().start_game();
    ++matches_started_;
}

DartThrower::Dart DartThrower::next()
{
    if (window_.match().game_over)
        start_match();
    std::uniform_int_distribution<std::size_t> pick(0, targets_.size() - 1);
    return targets_[pick(random_)];
}

void DartThrower::click(const Dart &dart)
{
    synthetic_click(*board_, dart.at);
}
