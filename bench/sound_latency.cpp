// Measures how long each embedded sound blocks the caller and how soon its first sample reaches
// the output device, over several runs. SDL's dummy driver unless SDL_AUDIODRIVER says otherwise.
// With --calls the plays are 300 ms apart, and a line per play gives the wall-clock time of its
// call and how long it blocked, to be matched with what a sound server logged as played.

#include "BenchFigures.h"
#include "SoundPlayer.h"
#include "SoundTiming.h"

#include <QCoreApplication>

#include <array>
#include <cstdio>

namespace {

constexpr int kRuns = 7;
constexpr std::array kSounds{"HIT", "SHOTGUN", "EXPLOSION"};

// One line per sound, also when plays failed, so that a failure still shows what it cost:
// medians of blocking and first sample, the longest block, how many plays completed.
bool measure(SoundPlayer &player, const char *name, bool calls)
{
    const SoundTiming timing = time_sound(player, name, kRuns, nullptr, std::chrono::milliseconds(calls ? 300 : 0));
    for (int run = 0; calls && run < timing.runs(); ++run)
        std::printf("call %s at wall-clock ms %.1f blocked %.1f ms\n", name, timing.called_at_ms[run],
                    timing.blocked_ms[run]);
    char first_sample[32] = "-";
    if (!timing.first_sample_ms.empty())
        std::snprintf(first_sample, sizeof first_sample, "%.1f", bench::median(timing.first_sample_ms));
    std::printf("%s length %.1f ms blocked %.1f ms max %.1f ms first sample %s ms completed %d/%d\n", name,
                timing.length_ms, bench::median(timing.blocked_ms), bench::percentile(timing.blocked_ms, 100),
                first_sample, timing.completed, timing.runs());
    return timing.all_completed();
}

} // namespace

int main(int argc, char **argv)
{
    if (qEnvironmentVariableIsEmpty("SDL_AUDIODRIVER"))
        qputenv("SDL_AUDIODRIVER", "dummy");
    QCoreApplication app(argc, argv);
    SoundPlayer player;
    const bool calls = app.arguments().contains(QStringLiteral("--calls"));
    std::printf("audio device: %s\n", has_wave_device(player) ? "yes" : "none");
    int failures = 0;
    for (const char *name : kSounds)
        failures += measure(player, name, calls) ? 0 : 1;
    return failures == 0 ? 0 : 1;
}
