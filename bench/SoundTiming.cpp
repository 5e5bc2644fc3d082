#include "SoundTiming.h"

#include "SoundPlayer.h"

#include <QCoreApplication>
#include <QString>

#include <optional>

#include <thread>

SoundTiming time_sound(SoundPlayer &player, const char *name, int runs, std::mt19937 *spread,
                       std::chrono::milliseconds pause)
{
    using Millis = std::chrono::duration<double, std::milli>;
    std::uniform_int_distribution<int> pause_ms(0, 60);
    SoundTiming timing;
    for (int run = 0; run < runs; ++run) {
        std::this_thread::sleep_for(pause + std::chrono::milliseconds(spread ? pause_ms(*spread) : 0));
        timing.called_at_ms.push_back(Millis(std::chrono::system_clock::now().time_since_epoch()).count());
        const auto start = std::chrono::steady_clock::now();
        player.play(QString::fromLatin1(name));
        timing.blocked_ms.push_back(Millis(std::chrono::steady_clock::now() - start).count());
        const auto &playback = player.last_playback();
        if (playback.first_sample)
            timing.first_sample_ms.push_back(Millis(*playback.first_sample).count());
        timing.completed += playback.completed ? 1 : 0;
        timing.length_ms = Millis(playback.length).count();
    }
    return timing;
}

bool has_wave_device(SoundPlayer &player)
{
    std::optional<bool> found;
    player.check_device(QCoreApplication::instance(), [&found](bool answer) { found = answer; });
    while (!found)
        QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
    return *found;
}
