// Sound figures in the common format: per embedded sound, how long play_sound blocks against the
// sound's nominal length, and how soon its first sample reaches the device (medians); then what
// the open output device costs an otherwise idle process, against the same wait before any sound.
// The device keeps running between sounds, so when a sound starts depends on where the device's
// buffer period stands. Two series per sound: calls after a random pause, spread over that period
// (a click now and then), and calls straight after one another (queued clicks, "_back_to_back").
// Usage: sound_figures [RUNS] [IDLE_MS] (defaults 9 and 5000); SDL's dummy driver unless SDL_AUDIODRIVER says otherwise.

#include "BenchFigures.h"
#include "SoundPlayer.h"
#include "SoundTiming.h"

#include <QCoreApplication>

#include <array>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <random>
#include <string>
#include <thread>
#include <vector>

namespace {

constexpr std::array kSounds{"HIT", "SHOTGUN", "EXPLOSION"};

bool measure(const std::string &prefix, const char *name, int runs, std::mt19937 *random)
{
    const std::optional<SoundTiming> timing = time_sound(name, runs, random);
    if (!timing)
        return false;
    const double blocked = bench::median(timing->blocked_ms);
    bench::print_figure(prefix + "_blocked", blocked, "ms", timing->length_ms);
    bench::print_figure(prefix + "_blocked_beyond_length", blocked - timing->length_ms, "ms");
    bench::print_figure(prefix + "_first_sample", bench::median(timing->first_sample_ms), "ms");
    bench::print_figure(prefix + "_first_sample_max", bench::percentile(timing->first_sample_ms, 100), "ms");
    return true;
}

struct Idle {
    double cpu_ms;
    long wakeups;
};

Idle idle_for(std::chrono::milliseconds period)
{
    const double cpu = bench::cpu_ms();
    const long wakeups = bench::context_switches();
    std::this_thread::sleep_for(period);
    return {bench::cpu_ms() - cpu, bench::context_switches() - wakeups - 1}; // less our own sleep
}

} // namespace

int main(int argc, char **argv)
{
    if (qEnvironmentVariableIsEmpty("SDL_AUDIODRIVER"))
        qputenv("SDL_AUDIODRIVER", "dummy");
    QCoreApplication app(argc, argv);
    const int runs = argc > 1 ? std::max(std::atoi(argv[1]), 1) : 9;
    const std::chrono::milliseconds idle(argc > 2 ? std::atoi(argv[2]) : 5000);
    if (!has_wave_device()) {
        std::printf("sound_device 0 flag - -\n");
        return 1;
    }
    const Idle before = idle_for(idle);
    int failures = 0;
    std::mt19937 random(7);
    // The first sound of the process also opens the output device.
    failures += measure("sound_first_call_HIT", "HIT", 1, nullptr) ? 0 : 1;
    for (const char *name : kSounds) {
        const std::string prefix = std::string("sound_") + name;
        failures += measure(prefix + "_back_to_back", name, runs, nullptr) ? 0 : 1;
        failures += measure(prefix, name, runs, &random) ? 0 : 1;
    }
    const Idle after = idle_for(idle);
    bench::print_figure("sound_idle_cpu_after_playing", after.cpu_ms, "ms", before.cpu_ms);
    bench::print_figure("sound_idle_wakeups_after_playing", static_cast<double>(after.wakeups), "switches",
                        static_cast<double>(before.wakeups));
    return failures == 0 ? 0 : 1;
}
