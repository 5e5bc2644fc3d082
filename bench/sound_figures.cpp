// Sound figures in the common format: per embedded sound, how long play_sound blocks against the
// sound's nominal length, and how soon its first sample reaches the device (medians); then what an
// idle process costs once the device has been let go after the sounds, against the same wait
// before any sound, and what the first sound after that costs for opening the device again.
// The device keeps running between sounds, so when a sound starts depends on where the device's
// buffer period stands. Two series per sound: calls after a random pause, spread over that period
// (a click now and then), and calls straight after one another (queued clicks, "_back_to_back").
// The idle waits run the event loop, as the program does, so that the device can be let go.
// Usage: sound_figures [RUNS] [IDLE_MS] (defaults 9 and 5000); SDL's dummy driver unless SDL_AUDIODRIVER says otherwise.

#include "BenchFigures.h"
#include "IdleMeter.h"
#include "SoundPlayer.h"
#include "SoundTiming.h"

#include <QCoreApplication>

#include <array>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <optional>
#include <random>
#include <string>
#include <string_view>
#include <vector>

namespace {

constexpr std::array kSounds{"HIT", "SHOTGUN", "EXPLOSION"};

SoundTiming measure(SoundPlayer &player, const std::string &prefix, const char *name, int runs, std::mt19937 *random,
                    std::optional<double> reference_first_sample = std::nullopt)
{
    const SoundTiming timing = time_sound(player, name, runs, random);
    const double blocked = bench::median(timing.blocked_ms);
    bench::print_figure(prefix + "_blocked", blocked, "ms", timing.length_ms);
    bench::print_figure(prefix + "_blocked_beyond_length", blocked - timing.length_ms, "ms");
    bench::print_figure(prefix + "_first_sample", bench::median(timing.first_sample_ms), "ms", reference_first_sample);
    bench::print_figure(prefix + "_first_sample_max", bench::percentile(timing.first_sample_ms, 100), "ms");
    return timing;
}

} // namespace

int main(int argc, char **argv)
{
    if (qEnvironmentVariableIsEmpty("SDL_AUDIODRIVER"))
        qputenv("SDL_AUDIODRIVER", "dummy");
    QCoreApplication app(argc, argv);
    SoundPlayer player;
    const int runs = argc > 1 ? std::max(std::atoi(argv[1]), 1) : 9;
    const std::chrono::milliseconds idle(argc > 2 ? std::atoi(argv[2]) : 5000);
    if (!has_wave_device(player)) {
        std::printf("sound_device 0 flag - -\n");
        return 1;
    }
    IdleMeter meter;
    const IdleMeter::Result before = meter.measure(idle);
    int failures = 0;
    std::mt19937 random(7);
    // The first sound of the process also opens the output device.
    failures += measure(player, "sound_first_call_HIT", "HIT", 1, nullptr).all_completed() ? 0 : 1;
    double warm_first_sample = 0;
    for (const char *name : kSounds) {
        const std::string prefix = std::string("sound_") + name;
        failures += measure(player, prefix + "_back_to_back", name, runs, nullptr).all_completed() ? 0 : 1;
        const SoundTiming timing = measure(player, prefix, name, runs, &random);
        failures += timing.all_completed() ? 0 : 1;
        if (std::string_view(name) == "HIT")
            warm_first_sample = bench::median(timing.first_sample_ms);
    }
    // Long enough for the device to be let go, then the same wait as before any sound.
    meter.measure(SoundPlayer::kKeepOpen + std::chrono::seconds(1));
    const IdleMeter::Result after = meter.measure(idle);
    bench::print_figure("sound_idle_cpu_after_playing", after.cpu_ms, "ms", before.cpu_ms);
    bench::print_figure("sound_idle_wakeups_after_playing", static_cast<double>(after.wakeups), "switches",
                        static_cast<double>(before.wakeups));
    // The next sound starts SDL's audio and opens the device again.
    failures += measure(player, "sound_reopen_HIT", "HIT", 1, nullptr, warm_first_sample).all_completed() ? 0 : 1;
    return failures == 0 ? 0 : 1;
}
