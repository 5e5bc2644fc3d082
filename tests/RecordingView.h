#pragma once

#include "MatchViewInterface.h"

#include <array>
#include <string>
#include <vector>

// Records every effect a match has on the screen and speaker, and keeps the screen's current state.
class RecordingView : public MatchViewInterface {
public:
    std::vector<std::string> log;
    std::array<std::string, 5> score_text{};
    std::array<ScoreColour, 5> colour{};
    std::array<bool, 5> panel_shown{};
    std::array<std::string, 8> panel{};
    std::string notice_caption;
    bool adjustments_enabled = false;

    void set_score_text(int player, std::string_view text) override
    {
        score_text.at(player) = text;
        record("score " + std::to_string(player) + " " + std::string(text));
    }
    void set_score_colour(int player, ScoreColour c) override
    {
        colour.at(player) = c;
        record("colour " + std::to_string(player) + (c == ScoreColour::LightRed ? " red" : " blue"));
    }
    void show_player_panel(int player) override
    {
        panel_shown.at(player) = true;
        record("show " + std::to_string(player));
    }
    void show_active_player(int player) override
    {
        panel.at(2) = "Player " + std::to_string(player);
        record("active " + std::to_string(player));
    }
    void set_panel_text(int number, std::string_view text) override
    {
        panel.at(number) = text;
        record("panel " + std::to_string(number) + " " + std::string(text));
    }
    void enable_adjustments() override
    {
        adjustments_enabled = true;
        record("enable adjustments");
    }
    void play_sound(std::string_view name) override { record("sound " + std::string(name)); }
    void set_notice_caption(std::string_view caption) override
    {
        notice_caption = caption;
        record("caption " + std::string(caption));
    }
    void show_notice() override { record("notice " + notice_caption); }

    // The effects recorded since the last call.
    std::vector<std::string> take()
    {
        std::vector<std::string> taken;
        taken.swap(log);
        return taken;
    }

private:
    void record(std::string line) { log.push_back(std::move(line)); }
};
