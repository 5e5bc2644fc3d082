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
};
