// Measures how long each embedded sound blocks the caller and how soon its first sample reaches
// the output device, as medians over several runs.

#include "BenchFigures.h"
#include "SoundPlayer.h"
#include "SoundTiming.h"

#include <QCoreApplication>

#include <array>
#include <cstdio>

namespace {

constexpr int kRuns = 7;
constexpr std::array kSounds{"HIT", "SHOTGUN", "EXPLOSION"};

bool measure(const char *name)
{
    const std::optional<SoundTiming> timing = time_sound(name, kRuns);
    if (!timing)
        return false;
    std::printf("%-10s length %7.1f ms  blocked %7.1f ms  first sample after %5.1f ms  (medians of %d)\n", name,
                timing->length_ms, bench::median(timing->blocked_ms), bench::median(timing->first_sample_ms), kRuns);
    return true;
}

} // namespace

int main(int argc, char **argv)
{
    if (qEnvironmentVariableIsEmpty("SDL_AUDIODRIVER"))
        qputenv("SDL_AUDIODRIVER", "dummy");
    QCoreApplication app(argc, argv);
    std::printf("audio device: %s\n", has_wave_device() ? "yes" : "none");
    int failures = 0;
    for (const char *name : kSounds) {
        if (!measure(name)) {
            std::printf("%-10s not played\n", name);
            ++failures;
        }
    }
    return failures == 0 ? 0 : 1;
}
