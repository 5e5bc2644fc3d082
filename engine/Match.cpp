#include "Match.h"

#include "MatchViewInterface.h"

#include <limits>
#include <string>

namespace {

constexpr int kMinScore = std::numeric_limits<std::int16_t>::min();
constexpr int kMaxScore = std::numeric_limits<std::int16_t>::max();

std::string decimal(int value)
{
    return std::to_string(value);
}

} // namespace

Match::Match(Module1 &settings, MatchViewInterface &view)
    : settings_(settings)
    , view_(view)
{
}

std::int16_t &Match::points_left(int player)
{
    return points_left_.at(static_cast<std::size_t>(player - 1));
}

std::int16_t Match::points_left(int player) const
{
    return points_left_.at(static_cast<std::size_t>(player - 1));
}

void Match::start_game()
{
    for (int player = 1; player <= kMaxPlayers; ++player) {
        points_left(player) = settings_.start_score;
        show_score(player);
    }

    for (int player = 1; player <= settings_.player_count(); ++player)
        view_.show_player_panel(player);

    turn_total = 0;
    darts_thrown = 0;
    cur_player = 1;
    view_.show_active_player(cur_player);
    show_turn();
    // All four, not only player 1: a red label left from the last match would name the wrong thrower.
    mark_current_player();
    view_.enable_adjustments();
    game_over = false;
}

void Match::advance_player()
{
    switch (cur_player) {
    case 1:
        cur_player = 2;
        break;
    case 2:
        cur_player = settings_.two_players ? 1 : 3;
        break;
    case 3:
        cur_player = settings_.three_players ? 1 : 4;
        break;
    default:
        cur_player = 1;
        break;
    }
    turn_total = 0;
    darts_thrown = 0;
    show_turn();
    view_.show_active_player(cur_player);
    mark_current_player();
}

void Match::do_score(std::int16_t points)
{
    if (game_over || !has_player())
        return;
    if (settings_.sound_on)
        view_.play_sound("HIT");
    turn_total = static_cast<std::int16_t>(turn_total + points);
    ++darts_thrown;
    view_.set_panel_text(kHitPanel, decimal(points));
    view_.set_panel_text(kTotalPanel, decimal(turn_total));
    if (darts_thrown == kDartsPerTurn)
        update_score();
}

void Match::update_score()
{
    const int player = cur_player;
    // Worked out wider than 16 bits so a score moved near the ends by hand never wraps;
    // anything that cannot be stored is undone like a bust.
    const int after = points_left(player) - turn_total;
    if (after < 0 || after > kMaxScore)
        announce("Break!", "SHOTGUN");
    else
        points_left(player) = static_cast<std::int16_t>(after);
    show_score(player);
    if (points_left(player) == 0) {
        announce("Winner!", "EXPLOSION");
        game_over = true;
    }
    advance_player();
}

AdjustOutcome Match::adjust_points(Adjustment direction)
{
    if (!has_player())
        return AdjustOutcome::NoPlayer;
    const int pick = direction == Adjustment::Add ? settings_.points_pick : -settings_.points_pick;
    const int result = points_left(cur_player) + pick;
    if (result > kMaxScore)
        return AdjustOutcome::AboveMaximum;
    if (result < kMinScore)
        return AdjustOutcome::BelowMinimum;
    points_left(cur_player) = static_cast<std::int16_t>(result);
    show_score(cur_player);
    return AdjustOutcome::Stored;
}

void Match::show_score(int player)
{
    view_.set_score_text(player, decimal(points_left(player)));
}

void Match::show_turn()
{
    view_.set_panel_text(kHitPanel, "0");
    view_.set_panel_text(kTotalPanel, "0");
}

void Match::mark_current_player()
{
    for (int player = 1; player <= kMaxPlayers; ++player)
        view_.set_score_colour(player, ScoreColour::LightBlue);
    view_.set_score_colour(cur_player, ScoreColour::LightRed);
}

void Match::announce(std::string_view caption, std::string_view sound)
{
    view_.set_notice_caption(caption);
    view_.play_sound(sound);
    view_.show_notice();
}
