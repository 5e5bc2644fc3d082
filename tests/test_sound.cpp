#include "BlockMeter.h"
#include "PlaysCompletely.h"
#include "SoundPlayer.h"
#include "SoundThread.h"
#include "WaveImages.h"

#include <QByteArray>
#include <QCoreApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <QtTest>

#include <algorithm>
#include <atomic>
#include <cmath>
#include <csignal>
#include <iterator>
#include <optional>
#include <thread>

// Each test class plays through a player of its own, on one SDL driver; the last is run by
// sound_server_test.sh against real sound servers.

namespace {

bool played_nothing(const SoundPlayer &player)
{
    const auto &playback = player.last_playback();
    return !playback.completed && !playback.first_sample.has_value();
}

} // namespace

class SoundOnDummyDriver : public QObject {
    Q_OBJECT
private slots:
    // Runs before anything starts the audio subsystem.
    void initTestCase()
    {
        for (int signal_number : {SIGTERM, SIGINT})
            std::signal(signal_number, SIG_DFL);
        QVERIFY(has_wave_device(player));
        for (int signal_number : {SIGTERM, SIGINT}) {
            struct sigaction action { };
            sigaction(signal_number, nullptr, &action);
            QVERIFY2(action.sa_handler == SIG_DFL, "SDL must leave termination signals to the program");
        }
    }

    // A call that has not come back keeps the thread; the next is refused, not queued, and the
    // thread takes calls again once it is back.
    void callNotBackRefusesOthersUntilItIs()
    {
        SoundThread thread;
        std::atomic<bool> go{false};
        const auto soon = [] { return SoundThread::Clock::now() + std::chrono::milliseconds(50); };
        QVERIFY(!thread.run(
            [&go] {
                while (!go)
                    std::this_thread::sleep_for(std::chrono::milliseconds(5));
            },
            soon()));
        QVERIFY(thread.busy());
        bool ran = false;
        QVERIFY(!thread.start([&ran] { ran = true; }));
        go = true;
        QTRY_VERIFY(!thread.busy());
        QVERIFY(!ran);
        bool then_ran = false;
        QVERIFY(thread.start([&ran] { ran = true; }, [&then_ran] { then_ran = true; }));
        QTRY_VERIFY(then_ran);
        QVERIFY(ran);
    }

    // A call that comes back within the bound of the next one is waited for, not refused: the next
    // call runs once it is back.
    void callBackWithinTheBoundIsWaitedFor()
    {
        SoundThread thread;
        QVERIFY(thread.start([] { std::this_thread::sleep_for(std::chrono::milliseconds(30)); }));
        bool ran = false;
        QVERIFY(thread.run([&ran] { ran = true; }, SoundThread::Clock::now() + std::chrono::seconds(5)));
        QVERIFY(ran);
    }

    void playBlocksForTheSoundsLength_data() { add_shape_rows(); }

    void playBlocksForTheSoundsLength()
    {
        QFETCH(WaveShape, shape);
        QFETCH(int, size);
        const QByteArray image = wave_image(pattern(size), shape);
        const qint64 nominal_ms = qint64(size) * 1000 / shape.bytes_per_second();

        QElapsedTimer timer;
        timer.start();
        player.play_image(image);
        QVERIFY2(timer.elapsed() >= nominal_ms * 8 / 10, qPrintable(QString::number(timer.elapsed())));
        QVERIFY(player.last_playback().completed);
    }

    void badImageOrNamePlaysNothing_data() { add_bad_sound_rows(); }

    void badImageOrNamePlaysNothing()
    {
        QFETCH(QByteArray, image);
        QFETCH(QString, name);
        image.isNull() ? player.play(name) : player.play_image(image);
        QVERIFY(played_nothing(player));
    }

private:
    SoundPlayer player{"dummy"};
};

class SoundOnDiskDriver : public QObject {
    Q_OBJECT
private slots:
    void initTestCase()
    {
        QVERIFY(dir_.isValid());
        qputenv("SDL_DISKAUDIOFILE", QFile::encodeName(output_path()));
        QVERIFY(has_wave_device(player));
    }

    void deviceReceivesTheSamples_data()
    {
        QTest::addColumn<WaveShape>("shape");
        QTest::addColumn<int>("size");
        QTest::newRow("8-bit mono 11025 Hz") << WaveShape{11025, 1, 8} << 3584;
        QTest::newRow("odd length with pad byte") << WaveShape{11025, 1, 8} << 1001;
        QTest::newRow("16-bit mono 22050 Hz") << WaveShape{22050, 1, 16} << 4410;
        QTest::newRow("8-bit stereo 8000 Hz") << WaveShape{8000, 2, 8} << 3200;
    }

    void deviceReceivesTheSamples()
    {
        QFETCH(WaveShape, shape);
        QFETCH(int, size);
        const QByteArray samples = pattern(size);
        player.play_image(wave_image(samples, shape));
        QVERIFY(holds_only(device_output(), as_played(samples, shape), shape));
    }

    void hitResourceGoesOut_data()
    {
        QTest::addColumn<QString>("name");
        QTest::newRow("as stored") << QStringLiteral("HIT");
        QTest::newRow("any case") << QStringLiteral("hit");
    }

    void hitResourceGoesOut()
    {
        QFETCH(QString, name);
        QFile resource(QStringLiteral(":/WAVE/HIT"));
        QVERIFY(resource.open(QIODevice::ReadOnly));
        const QByteArray samples = resource.readAll().mid(44, 3584);
        player.play(name);
        QVERIFY(holds_only(device_output(), as_played(samples, WaveShape{}), WaveShape{}));
    }

private:
    QString output_path() const { return dir_.filePath(QStringLiteral("device.raw")); }

    // Closing the device flushes the driver's file; the next sound opens it afresh. SDL 3 converts
    // the samples ahead of its device, which writes what it holds within a few of its buffers.
    QByteArray device_output()
    {
        QTest::qWait(100);
        player.release();
        if (!QTest::qWaitFor([this] { return !player.busy(); }))
            return {};
        QFile file(output_path());
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
    }

    // The device's file holds the samples as played and silence around them. SDL 3 behind SDL 2's
    // interface opens its disk device at no fewer than two channels and 44100 Hz and converts: there
    // the sound must sound as long, give or take its resampler's reach (up to 7 frames either side).
    static bool holds_only(const QByteArray &output, const QByteArray &samples, const WaveShape &shape)
    {
        const qsizetype at = output.indexOf(samples);
        if (at < 0) {
            const double converted = sounding_ms(output, std::max(shape.channels, 2), std::max(shape.frequency, 44100));
            const double played = sounding_ms(samples, shape.channels, shape.frequency);
            qInfo("converted: %.2f ms sound where %.2f ms were played", converted, played);
            return played > 0 && std::abs(converted - played) <= 16 * 1000.0 / shape.frequency;
        }
        const QByteArray rest = output.left(at) + output.mid(at + samples.size());
        return std::all_of(rest.cbegin(), rest.cend(), [](char byte) { return byte == 0; });
    }

    // From the first 16-bit sample that is not silent to the last.
    static double sounding_ms(const QByteArray &data, int channels, int frequency)
    {
        const auto *begin = reinterpret_cast<const qint16 *>(data.constData());
        const auto *end = begin + data.size() / 2;
        const auto *first = std::find_if(begin, end, [](qint16 sample) { return sample != 0; });
        const auto last = std::find_if(std::reverse_iterator(end), std::reverse_iterator(first),
                                       [](qint16 sample) { return sample != 0; });
        const auto frames = (last.base() - begin + channels - 1) / channels - (first - begin) / channels;
        return double(frames) * 1000 / frequency;
    }

    QTemporaryDir dir_;
    SoundPlayer player{"disk"};
};

class SoundWithoutDriver : public QObject {
    Q_OBJECT
private slots:
    void detectsNoDeviceAndReturnsWithoutPlaying()
    {
        SoundPlayer player("no_such_driver");
        QVERIFY(!has_wave_device(player));
        player.play_image(wave_image(pattern(3584), WaveShape{}));
        QVERIFY(played_nothing(player));
        player.play(QStringLiteral("HIT"));
        QVERIFY(played_nothing(player));
    }
};

// Run by sound_server_test.sh inside a private sound server started by the sound test harness
// (SOUND_TEST_KIND, SOUND_TEST_DIR; the harness in OCHRE_SOUND_HARNESS), with SDL's driver for it.
class SoundOnServer : public QObject {
    Q_OBJECT
public:
    enum class Stop { DeviceOpen, AfterIdleRelease, MidSound, NoInput };
    Q_ENUM(Stop)

private slots:
    // The device check, as early as the program makes it (the first call into SDL, right after the
    // server has started), says that sound can be played, whatever SDL's device list holds by then:
    // SDL's pipewire and alsa drivers list no device just after their start. It also loads SDL,
    // which a first sound would otherwise have to do within its bound.
    void initTestCase() { QVERIFY2(has_wave_device(player), "Sound On would start unchecked"); }

    void everyEmbeddedSoundPlaysCompletely_data() { add_embedded_sound_rows(); }

    void everyEmbeddedSoundPlaysCompletely()
    {
        QFETCH(QString, name);
        QVERIFY(plays_completely(name));
    }

    void serverStoppedMidSoundEndsItAndTheNextSoundPlays()
    {
        if (kind() == "alsa")
            QSKIP("plain ALSA has no server to stop");
        QVERIFY(plays_completely(QStringLiteral("HIT"), kBeforeStopMs));
        std::atomic<qint64> stopped_at{-1};
        QElapsedTimer clock;
        clock.start();
        std::thread stopper([&] {
            std::this_thread::sleep_for(std::chrono::milliseconds(300));
            signal_server(SIGTERM);
            stopped_at = clock.elapsed();
        });
        player.play(QStringLiteral("EXPLOSION"));
        const qint64 returned_at = clock.elapsed();
        stopper.join();
        qInfo("server ended at %lld ms, EXPLOSION returned at %lld ms", qint64(stopped_at), returned_at);
        QVERIFY(!player.last_playback().completed);
        QVERIFY2(returned_at < stopped_at + 500, "the sound went on waiting for a server that had gone");
        QCOMPARE(harness({QStringLiteral("stop"), dir()}), 0);
        QCOMPARE(harness({kind(), dir()}), 0); // returns once the new server answers
        QElapsedTimer answering;
        answering.start();
        QVERIFY(comes_back(answering));
    }

    // A server that stops answering (its processes stopped) holds no call past its bound: a sound its
    // length and a quarter second, anything else a quarter second; sound comes back once it answers.
    void stoppedServerHoldsNoCallPastItsBound_data()
    {
        QTest::addColumn<Stop>("when");
        QTest::newRow("device open") << Stop::DeviceOpen;
        QTest::newRow("after the idle release") << Stop::AfterIdleRelease;
        QTest::newRow("in the middle of a long sound") << Stop::MidSound;
        QTest::newRow("no input") << Stop::NoInput;
    }

    void stoppedServerHoldsNoCallPastItsBound()
    {
        if (kind() == "alsa")
            QSKIP("plain ALSA has no server to stop");
        QFETCH(Stop, when);
        QVERIFY(plays_completely(QStringLiteral("HIT"), kBeforeStopMs));
        if (when == Stop::AfterIdleRelease)
            QTest::qWait(idle_release_ms());
        BlockMeter meter;
        std::chrono::nanoseconds longest_sound{0};
        if (when == Stop::MidSound) {
            std::thread stopper([] {
                std::this_thread::sleep_for(std::chrono::milliseconds(550));
                signal_server(SIGSTOP);
            });
            player.play(QStringLiteral("EXPLOSION"));
            longest_sound = player.last_playback().length;
            stopper.join();
        } else {
            signal_server(SIGSTOP);
        }
        if (when == Stop::NoInput)
            QTest::qWait(idle_release_ms()); // the device is let go meanwhile
        for (int dart = 0; dart < 3 && when != Stop::NoInput; ++dart) {
            player.play(QStringLiteral("HIT"));
            longest_sound = std::max(longest_sound, player.last_playback().length);
            QTest::qWait(100);
        }
        const qint64 blocked = meter.longest_ms();
        signal_server(SIGCONT);
        QElapsedTimer answering;
        answering.start();
        const qint64 bound = std::chrono::duration_cast<std::chrono::milliseconds>(longest_sound + SoundPlayer::kBound)
                                 .count();
        qInfo("longest block %lld ms, bound %lld ms", blocked, bound);
        QVERIFY2(blocked <= bound + kLoadedMachineMs, qPrintable(QString("blocked %1 ms").arg(blocked)));
        QVERIFY(comes_back(answering));
    }

private:
    // How soon the next sound must start once the server answers again.
    static constexpr qint64 kComeBackMs = 1000;
    // How long sound may take to play completely before a row stops the server: the row before may
    // have just continued or restarted it, and a sound cut short then is not what the row measures.
    static constexpr int kBeforeStopMs = 1000;
    // How long a PulseAudio null sink may hold a new stream's first samples (it renders 2 s ahead).
    static constexpr qint64 kNullSinkHoldMs = 2000;

    static QString kind() { return qEnvironmentVariable("SOUND_TEST_KIND"); }
    static QString dir() { return qEnvironmentVariable("SOUND_TEST_DIR"); }
    static int idle_release_ms() { return int(std::chrono::milliseconds(SoundPlayer::kKeepOpen).count()) + 1000; }

    // Sends `signal_number` to every process of the server at once: SIGTERM as a session restarting its
    // sound server does, SIGSTOP and SIGCONT as a server that hangs and recovers.
    static void signal_server(int signal_number)
    {
        QFile pids(dir() + QStringLiteral("/pids"));
        if (!pids.open(QIODevice::ReadOnly))
            return;
        while (!pids.atEnd()) {
            const QList<QByteArray> fields = pids.readLine().split(' ');
            if (const pid_t pid = fields.first().toInt(); pid > 0)
                kill(pid, signal_number);
        }
    }

    static int harness(const QStringList &arguments)
    {
        QProcess process;
        process.setProcessChannelMode(QProcess::ForwardedErrorChannel);
        process.start(QStringLiteral("bash"), QStringList{qEnvironmentVariable("OCHRE_SOUND_HARNESS")
                                                          + QStringLiteral("/start-sound-server.sh")}
                                                  + arguments);
        if (!process.waitForFinished(30000) || process.exitStatus() != QProcess::NormalExit) {
            qWarning("start-sound-server.sh: %s", qPrintable(process.errorString()));
            return -1;
        }
        return process.exitCode();
    }

    // Sound is back within kComeBackMs of the server answering again (`answering` started then): the
    // player reports that no call into the sound library is still out, and a sound that starts by
    // then plays completely. Waits on the player's report, then plays. A sound whose device took most
    // of its bound to open (a server that has just started) is cut short, as the bound requires, and
    // the next one is asked for. A PulseAudio null sink holds a stream opened after an idle spell for
    // up to 2 s (see plays_completely): there sound is back once the sink lets go.
    bool comes_back(const QElapsedTimer &answering)
    {
        const qint64 bound = kComeBackMs + (kind() == "pulseaudio" ? kNullSinkHoldMs : 0);
        if (!QTest::qWaitFor([this] { return !player.busy(); }, int(bound))) {
            qWarning("a call into the sound library was still out %lld ms after the server answered",
                     answering.elapsed());
            return false;
        }
        for (;;) {
            const qint64 back_at = answering.elapsed();
            player.play(QStringLiteral("HIT"));
            const auto &playback = player.last_playback();
            const qint64 started_at =
                playback.first_sample
                    ? back_at + std::chrono::duration_cast<std::chrono::milliseconds>(*playback.first_sample).count()
                    : -1;
            qInfo("sound on %lld ms after the server answered; HIT %s, its first sample handed over at %lld ms",
                  back_at, playback.completed ? "complete" : "not complete", started_at);
            if (playback.completed && started_at <= bound)
                return true;
            if (playback.completed || answering.elapsed() > bound) {
                qWarning("no complete HIT started within %lld ms of the server answering again", bound);
                return false;
            }
            QTest::qWait(20);
        }
    }

    // Every play returns within its bound, a quarter second past the sound's length. A PulseAudio null
    // sink holds a new stream for up to 2 s, and sounds given up meanwhile are not complete; any other
    // server takes the first sound at once. After a stop, sound comes back once the server's last call is.
    bool plays_completely(const QString &name, int wait_ms = 0)
    {
        return ::plays_completely(player, name, kind() == "pulseaudio" ? std::max(wait_ms, 3000) : wait_ms);
    }

    SoundPlayer player;
};

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    if (qEnvironmentVariableIsSet("SOUND_TEST_KIND")) {
        SoundOnServer test;
        return QTest::qExec(&test, argc, argv);
    }
    int failures = 0;
    {
        SoundOnDummyDriver test;
        failures += QTest::qExec(&test, argc, argv);
    }
    {
        SoundOnDiskDriver test;
        failures += QTest::qExec(&test, argc, argv);
    }
    SoundWithoutDriver test;
    return failures + QTest::qExec(&test, argc, argv);
}

#include "test_sound.moc"
