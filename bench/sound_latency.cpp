// Measures how long each embedded sound blocks the caller and how soon its first sample reaches
// the output device, as medians over several runs.

#include "SoundPlayer.h"

#include <QCoreApplication>
#include <QString>

#include <algorithm>
#include <array>
#include <chrono>
#include <cstdio>
#include <vector>

namespace {

using Millis = std::chrono::duration<double, std::milli>;

constexpr int kRuns = 7;
constexpr std::array kSounds{"HIT", "SHOTGUN", "EXPLOSION"};

double median(std::vector<double> values)
{
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
}

bool measure(const char *name)
{
    std::vector<double> blocked;
    std::vector<double> first_sample;
    double length = 0;
    for (int run = 0; run < kRuns; ++run) {
        const auto start = std::chrono::steady_clock::now();
        play_sound(QString::fromLatin1(name));
        blocked.push_back(Millis(std::chrono::steady_clock::now() - start).count());
        const auto &playback = SoundPlayer::instance().last_playback();
        if (!playback.completed || !playback.first_sample)
            return false;
        first_sample.push_back(Millis(*playback.first_sample).count());
        length = Millis(playback.length).count();
    }
    std::printf("%-10s length %7.1f ms  blocked %7.1f ms  first sample after %5.1f ms  (medians of %d)\n",
                name, length, median(blocked), median(first_sample), kRuns);
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
