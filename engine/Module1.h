#pragma once

#include "Flag16.h"

#include <cstdint>

// The settings shared by start-up, the menus and the dialogs; one per application, all zero at first.
struct Module1 {
    Flag16 sound_on;
    Flag16 two_players;
    Flag16 three_players;
    Flag16 four_players;
    std::int16_t start_score = 0;
    std::int16_t points_pick = 0;

    // The number of players is kept as three flags, of which a new game sets exactly one.
    constexpr void set_player_count(int players)
    {
        two_players = players == 2;
        three_players = players == 3;
        four_players = players == 4;
    }

    // The count the flags name, the first flag set winning; 0 when none is set.
    constexpr int player_count() const
    {
        if (two_players)
            return 2;
        if (three_players)
            return 3;
        return four_players ? 4 : 0;
    }
};
