#pragma once

#include <chrono>
#include <random>
#include <vector>

class SoundPlayer;

// How long play_sound blocked for each of several plays of one embedded sound, how soon the first
// sample of each reached the output device, and how many played completely.
struct SoundTiming {
    double length_ms = 0;
    std::vector<double> blocked_ms;
    std::vector<double> first_sample_ms; // only the plays whose samples reached the device
    std::vector<double> called_at_ms;    // wall clock (CLOCK_REALTIME), as the sound test harness logs it
    int completed = 0;

    int runs() const { return static_cast<int>(blocked_ms.size()); }
    bool all_completed() const { return completed == runs(); }
};

// Plays the sound `runs` times, each after `pause` and a random one of up to 60 ms when `spread` is given.
SoundTiming time_sound(SoundPlayer &player, const char *name, int runs, std::mt19937 *spread = nullptr,
                       std::chrono::milliseconds pause = std::chrono::milliseconds(0));
// Asks the player whether there is an output device and runs the event loop until it answers.
bool has_wave_device(SoundPlayer &player);
