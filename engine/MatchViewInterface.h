#pragma once

#include <string_view>

enum class ScoreColour { LightRed, LightBlue };

// Everything a match does to the screen and the speaker, in the order the match does it.
class MatchViewInterface {
public:
    virtual ~MatchViewInterface() = default;

    virtual void set_score_text(int player, std::string_view text) = 0;
    virtual void set_score_colour(int player, ScoreColour colour) = 0;
    virtual void show_player_panel(int player) = 0;
    // Status bar panel 2 takes the caption of the player's name label.
    virtual void show_active_player(int player) = 0;
    virtual void set_panel_text(int panel, std::string_view text) = 0;
    virtual void enable_adjustments() = 0;
    virtual void play_sound(std::string_view name) = 0;
    virtual void set_notice_caption(std::string_view caption) = 0;
    // Modal: returns once the scorer has dismissed the notice.
    virtual void show_notice() = 0;
};
