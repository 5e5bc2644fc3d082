// What a sound server that stops answering (its processes stopped with SIGSTOP) does to the program:
// the main window with its SDL sound, a match in progress and sound on. The server is stopped at one
// moment, then darts are thrown at the board 200 ms apart, and one line gives the longest time the
// event loop went without running from the stop on, the darts thrown and the darts entered:
//   frozen_server KIND DRIVER CASE longest_block MS darts N entered N
// CASE: device_open (a sound has just played), idle_release (the device has been let go),
// mid_sound (0.55 s into the win sound), no_input (the device is let go while the server is stopped).
// The server is continued at the end, and the program fails unless a sound then plays again.
// Runs inside a server of the sound test harness (SOUND_TEST_KIND, SOUND_TEST_DIR).
// Usage: frozen_server CASE [DARTS] (default 5)

#include "BlockMeter.h"
#include "DartThrower.h"
#include "ModalCloser.h"
#include "Module1.h"
#include "SoundPlayer.h"
#include "frmmain.h"

#include <QApplication>
#include <QFile>
#include <QTest>

#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <thread>

namespace {

constexpr int kDartPauseMs = 200;
constexpr int kResumeWaitMs = 10'000;

// Sends `signal_number` to every process of the harness's server.
void signal_server(int signal_number)
{
    QFile pids(qEnvironmentVariable("SOUND_TEST_DIR") + QStringLiteral("/pids"));
    if (!pids.open(QIODevice::ReadOnly))
        return;
    while (!pids.atEnd()) {
        if (const pid_t pid = pids.readLine().split(' ').first().toInt(); pid > 0)
            kill(pid, signal_number);
    }
}

// Throws `darts` darts; returns how many the match took.
int throw_darts(DartThrower &thrower, const Match &match, int darts)
{
    int entered = 0;
    for (int dart = 0; dart < darts; ++dart) {
        const DartThrower::Dart next = thrower.next();
        const auto before = std::pair(match.cur_player, match.darts_thrown);
        thrower.click(next);
        entered += std::pair(match.cur_player, match.darts_thrown) != before ? 1 : 0;
        QTest::qWait(kDartPauseMs);
    }
    return entered;
}

bool sound_comes_back(SoundPlayer &sound)
{
    return QTest::qWaitFor(
        [&sound] {
            sound.play(QStringLiteral("HIT"));
            return sound.last_playback().completed;
        },
        kResumeWaitMs);
}

} // namespace

int main(int argc, char **argv)
{
    QApplication app(argc, argv);
    const QString stop = argc > 1 ? QString::fromLocal8Bit(argv[1]) : QString();
    const int darts = argc > 2 ? std::max(std::atoi(argv[2]), 0) : 5;
    SoundPlayer sound;
    Module1 settings;
    settings.sound_on = true;
    frmmain window(settings, sound);
    window.show();
    if (!QTest::qWaitForWindowExposed(&window))
        return 1;
    ModalCloser closer;
    DartThrower thrower(window, settings);
    if (!sound_comes_back(sound)) { // loads SDL and opens the device
        std::fprintf(stderr, "frozen_server: no sound before the stop\n");
        return 1;
    }
    if (stop == QLatin1String("idle_release"))
        QTest::qWait(int(std::chrono::milliseconds(SoundPlayer::kKeepOpen).count()) + 1000);

    BlockMeter meter;
    if (stop == QLatin1String("mid_sound")) {
        std::thread stopper([] {
            std::this_thread::sleep_for(std::chrono::milliseconds(550));
            signal_server(SIGSTOP);
        });
        sound.play(QStringLiteral("EXPLOSION"));
        stopper.join();
    } else {
        signal_server(SIGSTOP);
    }
    if (stop == QLatin1String("no_input"))
        QTest::qWait(int(std::chrono::milliseconds(SoundPlayer::kKeepOpen).count()) + 1000);
    const int entered = throw_darts(thrower, window.match(), darts);
    const qint64 longest = meter.longest_ms();
    signal_server(SIGCONT);

    std::printf("frozen_server %s %s %s longest_block %lld ms darts %d entered %d\n",
                qPrintable(qEnvironmentVariable("SOUND_TEST_KIND")),
                qPrintable(qEnvironmentVariable("SDL_AUDIODRIVER")), qPrintable(stop), longest, darts, entered);
    if (!sound_comes_back(sound)) {
        std::fprintf(stderr, "frozen_server: no sound after the server was continued\n");
        return 1;
    }
    return 0;
}
