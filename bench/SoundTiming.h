#pragma once

#include <optional>
#include <random>
#include <vector>

// How long play_sound blocked for each of several plays of one embedded sound, and how soon the
// first sample of each reached the output device.
struct SoundTiming {
    double length_ms = 0;
    std::vector<double> blocked_ms;
    std::vector<double> first_sample_ms;
};

// Plays the sound `runs` times, each after a random pause of up to 60 ms when `spread` is given.
// Nothing when a play did not complete.
std::optional<SoundTiming> time_sound(const char *name, int runs, std::mt19937 *spread = nullptr);
