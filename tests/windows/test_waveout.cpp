#include "BlockMeter.h"
#include "EmbeddedSound.h"
#include "FakeWaveOut.h"
#include "PlaysCompletely.h"
#include "WaveImages.h"
#include "WaveOutSound.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QSaveFile>
#include <QtTest>

#include <windows.h>
#include <tlhelp32.h>

#include <atomic>
#include <memory>
#include <thread>

// The sound of the Windows program, through the system's wave player. The first test class needs no
// device (a number the system does not have, or a driver in memory); the second is run by
// waveout_server_test.sh against a private PulseAudio server that Wine's PulseAudio driver plays into.

namespace {

qint64 bound_ms(std::chrono::nanoseconds length)
{
    return std::chrono::duration_cast<std::chrono::milliseconds>(length + WaveOutSound::kPlayedBound).count();
}

int threads_of_this_process()
{
    const HANDLE snapshot = CreateToolhelp32Snapshot(TH32CS_SNAPTHREAD, 0);
    if (snapshot == INVALID_HANDLE_VALUE)
        return -1;
    int count = 0;
    THREADENTRY32 entry{};
    entry.dwSize = sizeof entry;
    for (BOOL more = Thread32First(snapshot, &entry); more; more = Thread32Next(snapshot, &entry))
        count += entry.th32OwnerProcessID == GetCurrentProcessId() ? 1 : 0;
    CloseHandle(snapshot);
    return count;
}

// Plays `image` and says whether the play returned within its bound.
bool plays_within_bound(WaveOutSound &player, const QByteArray &image)
{
    QElapsedTimer clock;
    clock.start();
    player.play_image(image);
    const qint64 bound = bound_ms(player.last_playback().length) + kLoadedMachineMs;
    if (clock.elapsed() <= bound)
        return true;
    qWarning("blocked %lld ms, past %lld ms", clock.elapsed(), bound);
    return false;
}

// Lets the device go, as the idle timer does, and again while a handle is still kept.
bool let_go_until_closed(WaveOutSound &player, int attempts)
{
    for (int attempt = 0; attempt < attempts && player.is_open(); ++attempt) {
        player.release();
        if (!QTest::qWaitFor([&player] { return !player.busy(); }, 5000))
            return false;
    }
    return !player.is_open();
}

} // namespace

Q_DECLARE_METATYPE(FakeWaveOut::Failures)

class WaveOutWithoutDevice : public QObject {
    Q_OBJECT
private slots:
    // A device number the system does not have: no device is found, and a play gives up at once.
    void detectsNoDeviceAndReturnsWithoutPlaying()
    {
        WaveOutSound player(1000);
        QVERIFY(!has_wave_device(player));
        for (const QByteArray &image :
             {wave_image(pattern(11025), WaveShape{}), load_embedded_sound(QStringLiteral("HIT"))}) {
            QElapsedTimer clock;
            clock.start();
            player.play_image(image);
            QVERIFY2(clock.elapsed() < WaveOutSound::kBound.count(), qPrintable(QString::number(clock.elapsed())));
            QVERIFY(!player.last_playback().completed);
            QVERIFY(!player.is_open());
        }
    }

    void driverFailureFreesNothingEarlyAndLosesNoHandle_data()
    {
        QTest::addColumn<bool>("held");   // the driver holds the first sound, which is taken back
        QTest::addColumn<bool>("let_go"); // the device is let go between the two sounds
        QTest::addColumn<FakeWaveOut::Failures>("failures");
        constexpr int always = FakeWaveOut::kAlways;
        QTest::newRow("reset fails (device lost)") << true << false << FakeWaveOut::Failures{.resets = always};
        QTest::newRow("reset fails, device let go") << true << true << FakeWaveOut::Failures{.resets = always};
        QTest::newRow("reset keeps the buffer") << true << false << FakeWaveOut::Failures{.reset_keeps = true};
        QTest::newRow("unprepare still playing once, taken back")
            << true << false << FakeWaveOut::Failures{.unprepares = 1};
        QTest::newRow("unprepare still playing once, played") << false << false << FakeWaveOut::Failures{.unprepares = 1};
        QTest::newRow("unprepare still playing once, let go") << false << true << FakeWaveOut::Failures{.unprepares = 1};
        QTest::newRow("close fails once") << false << true << FakeWaveOut::Failures{.closes = 1};
        QTest::newRow("close fails 3 times") << false << true << FakeWaveOut::Failures{.closes = 3};
        QTest::newRow("reset and close fail") << true << true << FakeWaveOut::Failures{.resets = always, .closes = 2};
    }

    // A driver that keeps a buffer or a handle after being told to let go of it (a device lost mid-sound):
    // the buffer's samples stay as written until it gives them back, every handle is closed once in
    // the end, and the next sound plays meanwhile.
    void driverFailureFreesNothingEarlyAndLosesNoHandle()
    {
        QFETCH(bool, held);
        QFETCH(bool, let_go);
        QFETCH(FakeWaveOut::Failures, failures);
        const auto driver = std::make_shared<FakeWaveOut>(failures);
        auto player = std::make_unique<WaveOutSound>(WaveOutSound::kAnyDevice, driver);
        const QByteArray first = wave_image(pattern(441), WaveShape{});
        const QByteArray second = wave_image(pattern(882), WaveShape{});

        driver->hold(held);
        QVERIFY(plays_within_bound(*player, first));
        QCOMPARE(player->last_playback().completed, !held);
        QTRY_VERIFY(!player->busy());
        if (let_go)
            player->release();
        QTRY_VERIFY(!player->busy());

        driver->hold(false);
        const int writes = driver->writes();
        QVERIFY(plays_within_bound(*player, second));
        QVERIFY(player->last_playback().completed);
        QCOMPARE(driver->writes(), writes + 1);

        driver->give_back();
        QVERIFY(let_go_until_closed(*player, 1 + failures.closes));
        player.reset();
        QCOMPARE(driver->faults(), QString());
    }
};

// Run inside a private PulseAudio server started by the sound test fixtures (SOUND_TEST_KIND).
class WaveOutOnServer : public QObject {
    Q_OBJECT
private slots:
    void initTestCase() { QVERIFY(has_wave_device(player)); }

    void playBlocksForTheSoundsLength_data() { add_shape_rows(); }

    void playBlocksForTheSoundsLength()
    {
        QFETCH(WaveShape, shape);
        QFETCH(int, size);
        const QByteArray image = wave_image(pattern(size), shape);
        const qint64 nominal_ms = qint64(size) * 1000 / shape.bytes_per_second();
        // A null sink may hold a new stream for up to 2 s; a sound given up meanwhile is tried again.
        const QDeadlineTimer wait(3000);
        QElapsedTimer clock;
        do {
            clock.start();
            player.play_image(image);
            QVERIFY2(clock.elapsed() <= nominal_ms + WaveOutSound::kPlayedBound.count() + kLoadedMachineMs,
                     qPrintable(QString::number(clock.elapsed())));
        } while (!player.last_playback().completed && !wait.hasExpired());
        QVERIFY(player.last_playback().completed);
        QVERIFY2(clock.elapsed() >= nominal_ms * 8 / 10, qPrintable(QString::number(clock.elapsed())));
    }

    void badImageOrNamePlaysNothing_data()
    {
        add_bad_sound_rows();
        QTest::newRow("24-bit samples") << wave_image(pattern(3600), WaveShape{11025, 1, 24}) << QString();
    }

    void badImageOrNamePlaysNothing()
    {
        QFETCH(QByteArray, image);
        QFETCH(QString, name);
        QElapsedTimer clock;
        clock.start();
        image.isNull() ? player.play(name) : player.play_image(image);
        QVERIFY(clock.elapsed() < WaveOutSound::kBound.count());
        QCOMPARE(player.last_playback().length, std::chrono::nanoseconds(0));
    }

    void everyEmbeddedSoundPlaysCompletely_data() { add_embedded_sound_rows(); }

    // Run by waveout_server_test.sh with the sink recorded: each sound reaches it whole and once.
    void everyEmbeddedSoundPlaysCompletely()
    {
        QFETCH(QString, name);
        QVERIFY(plays_completely(player, name, kNullSinkHoldMs));
    }

    // The device and the audio threads it started go a few seconds after the last sound.
    void deviceIsLetGoWhenIdle()
    {
        QVERIFY(plays_completely(player, QStringLiteral("HIT"), kNullSinkHoldMs));
        QVERIFY(player.is_open());
        const int threads_while_open = threads_of_this_process();
        QTest::qWait(int(std::chrono::milliseconds(WaveOutSound::kKeepOpen).count()) - 500);
        QVERIFY(player.is_open());
        QTRY_VERIFY_WITH_TIMEOUT(!player.is_open(), 2000);
        // Wine's wave mapper keeps a thread of its own once it has opened a device; the stream's go.
        QTRY_VERIFY_WITH_TIMEOUT(threads_of_this_process() < threads_while_open, 5000);
    }

    // A server that stops answering in the middle of a sound holds no play past its bound: the sound
    // its length and half a second, those that follow a quarter second past theirs. Sound comes
    // back once the server answers again.
    void serverStoppedMidSoundHoldsNoPlayPastItsBound()
    {
        QVERIFY(plays_completely(player, QStringLiteral("HIT"), kNullSinkHoldMs));
        BlockMeter meter;
        std::chrono::nanoseconds longest_sound{0};
        std::atomic<bool> stopped{false};
        std::thread stopper([&stopped] {
            std::this_thread::sleep_for(std::chrono::milliseconds(550));
            stopped = signal_server("STOP");
        });
        player.play(QStringLiteral("EXPLOSION"));
        longest_sound = player.last_playback().length;
        stopper.join();
        QVERIFY(stopped);
        QTest::qWait(20); // the window runs between darts: each play is measured as a block of its own
        for (int dart = 0; dart < 3; ++dart) {
            player.play(QStringLiteral("HIT"));
            QTest::qWait(100);
        }
        const qint64 blocked = meter.longest_ms();
        QVERIFY(signal_server("CONT"));
        qInfo("longest block %lld ms, bound %lld ms", blocked, bound_ms(longest_sound));
        QVERIFY2(blocked <= bound_ms(longest_sound) + kLoadedMachineMs, qPrintable(QString::number(blocked)));
        QVERIFY(plays_completely(player, QStringLiteral("HIT"), kComeBackMs));
    }

private:
    static constexpr int kNullSinkHoldMs = 3000;
    // The call that was waiting for the server (taking the sound back, closing) has to come back first.
    static constexpr int kComeBackMs = 10000;

    // A Windows program cannot signal the server's processes: it asks waveout_server_test.sh, which
    // sends the signal to them all and then removes the request.
    static bool signal_server(const char *signal_name)
    {
        const QString request = qEnvironmentVariable("SOUND_TEST_SIGNAL_REQUEST");
        QSaveFile file(request);
        if (!file.open(QIODevice::WriteOnly) || file.write(signal_name) < 0 || !file.commit())
            return false;
        return QTest::qWaitFor([&request] { return !QFile::exists(request); }, 5000);
    }

    WaveOutSound player;
};

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    if (qEnvironmentVariableIsSet("SOUND_TEST_KIND")) {
        WaveOutOnServer test;
        return QTest::qExec(&test, argc, argv);
    }
    WaveOutWithoutDevice test;
    return QTest::qExec(&test, argc, argv);
}

#include "test_waveout.moc"
