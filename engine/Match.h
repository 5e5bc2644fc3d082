#pragma once

#include "Module1.h"

#include <array>
#include <cstdint>
#include <string_view>

class MatchViewInterface;

enum class Adjustment { Add, Subtract };
enum class AdjustOutcome { Stored, AboveMaximum, BelowMinimum, NoPlayer };

// The state of one match of 301 or 501 and the rules that move it on.
class Match {
public:
    static constexpr int kMaxPlayers = 4;
    static constexpr int kDartsPerTurn = 3;
    static constexpr int kHitPanel = 4;
    static constexpr int kTotalPanel = 6;

    Match(Module1 &settings, MatchViewInterface &view);

    void start_game();
    void advance_player();
    void do_score(std::int16_t points);
    void update_score();
    // Moves the current player's score by points_pick; refuses a result outside 16 bits.
    AdjustOutcome adjust_points(Adjustment direction);

    // Remaining score of player 1 to 4.
    std::int16_t &points_left(int player);
    std::int16_t points_left(int player) const;
    bool has_player() const { return cur_player >= 1 && cur_player <= kMaxPlayers; }

    std::int16_t turn_total = 0;
    std::int16_t darts_thrown = 0;
    std::int16_t cur_player = 0;
    Flag16 game_over;

private:
    void show_score(int player);
    void show_turn();
    void mark_current_player();
    void announce(std::string_view caption, std::string_view sound);

    Module1 &settings_;
    MatchViewInterface &view_;
    std::array<std::int16_t, kMaxPlayers> points_left_{};
};
