#pragma once

#include <QDeadlineTimer>
#include <QElapsedTimer>
#include <QString>
#include <QTest>

#include <chrono>

// Allowance for a test machine busy with other work; a server that holds a call is held for seconds.
constexpr qint64 kLoadedMachineMs = 250;

// Plays `name` on `player` (a SoundPlayer or WaveOutSound) until a play is complete or `wait_ms` has
// passed; every play must return within its bound past the sound's length.
template <class Player>
bool plays_completely(Player &player, const QString &name, int wait_ms)
{
    const QDeadlineTimer wait(wait_ms);
    for (;;) {
        QElapsedTimer clock;
        clock.start();
        player.play(name);
        const auto &playback = player.last_playback();
        const auto bound = std::chrono::duration_cast<std::chrono::milliseconds>(playback.length + Player::kPlayedBound);
        if (clock.elapsed() > bound.count() + kLoadedMachineMs) {
            qWarning("%s blocked %lld ms, past its bound of %lld ms", qPrintable(name), clock.elapsed(),
                     qint64(bound.count()));
            return false;
        }
        if (playback.completed)
            return true;
        if (wait.hasExpired()) {
            qWarning("%s did not play completely", qPrintable(name));
            return false;
        }
        QTest::qWait(50);
    }
}
