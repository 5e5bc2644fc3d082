#include "SoundPlayer.h"

#include <QByteArray>
#include <QCoreApplication>
#include <QDataStream>
#include <QElapsedTimer>
#include <QDeadlineTimer>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <QtTest>

#include <algorithm>
#include <atomic>
#include <csignal>
#include <thread>

// One executable, run once per SDL driver: the driver is chosen when SDL's audio starts, once per process.

namespace {

struct WaveShape {
    int frequency = 11025;
    int channels = 1;
    int bits = 8;

    int bytes_per_second() const { return frequency * channels * bits / 8; }
    char silence() const { return bits == 8 ? char(0x80) : char(0); }
};

QByteArray pattern(int size)
{
    QByteArray samples(size, Qt::Uninitialized);
    for (int i = 0; i < size; ++i)
        samples[i] = char((i * 37 + 11) & 0xff);
    return samples;
}

QByteArray wave_image(const QByteArray &samples, const WaveShape &shape)
{
    const int block = shape.channels * shape.bits / 8;
    const bool pad = samples.size() % 2 != 0;
    QByteArray image;
    QDataStream out(&image, QIODevice::WriteOnly);
    out.setByteOrder(QDataStream::LittleEndian);
    out.writeRawData("RIFF", 4);
    out << quint32(36 + samples.size() + (pad ? 1 : 0));
    out.writeRawData("WAVEfmt ", 8);
    out << quint32(16) << quint16(1) << quint16(shape.channels) << quint32(shape.frequency)
        << quint32(shape.bytes_per_second()) << quint16(block) << quint16(shape.bits);
    out.writeRawData("data", 4);
    out << quint32(samples.size());
    out.writeRawData(samples.constData(), int(samples.size()));
    if (pad)
        out << quint8(0);
    return image;
}

bool played_nothing()
{
    const auto &playback = SoundPlayer::instance().last_playback();
    return !playback.completed && !playback.first_sample.has_value();
}

} // namespace

Q_DECLARE_METATYPE(WaveShape)

class SoundOnDummyDriver : public QObject {
    Q_OBJECT
private slots:
    // Runs before anything starts the audio subsystem.
    void initTestCase()
    {
        for (int signal_number : {SIGTERM, SIGINT})
            std::signal(signal_number, SIG_DFL);
        QVERIFY(has_wave_device());
        for (int signal_number : {SIGTERM, SIGINT}) {
            struct sigaction action {};
            sigaction(signal_number, nullptr, &action);
            QVERIFY2(action.sa_handler == SIG_DFL, "SDL must leave termination signals to the program");
        }
    }

    void flagsAlwaysGainTheMemoryBit_data()
    {
        QTest::addColumn<std::int32_t>("given");
        QTest::addColumn<std::int32_t>("seen");
        QTest::newRow("none") << 0 << 4;
        QTest::newRow("no default") << 2 << 6;
        QTest::newRow("memory") << 4 << 4;
        QTest::newRow("usual") << 6 << 6;
        QTest::newRow("other bits kept") << 0x10 << 0x14;
        QTest::newRow("all bits") << -1 << -1;
    }

    void flagsAlwaysGainTheMemoryBit()
    {
        QFETCH(std::int32_t, given);
        QFETCH(std::int32_t, seen);
        std::int32_t flags = given;
        play_sound(QStringLiteral("NO_SUCH_SOUND"), flags);
        QCOMPARE(flags, seen);
        QCOMPARE(SoundPlayer::instance().last_playback().flags, seen);
    }

    void omittedFlagsActAsSix()
    {
        play_sound(QStringLiteral("NO_SUCH_SOUND"));
        QCOMPARE(SoundPlayer::instance().last_playback().flags, 6);
    }

    void playBlocksForTheSoundsLength_data()
    {
        QTest::addColumn<WaveShape>("shape");
        QTest::addColumn<int>("size");
        QTest::newRow("8-bit mono 11025 Hz") << WaveShape{11025, 1, 8} << 3584;
        QTest::newRow("16-bit stereo 22050 Hz reopens the device") << WaveShape{22050, 2, 16} << 22050;
        QTest::newRow("back to 8-bit mono") << WaveShape{11025, 1, 8} << 8384;
    }

    void playBlocksForTheSoundsLength()
    {
        QFETCH(WaveShape, shape);
        QFETCH(int, size);
        const QByteArray image = wave_image(pattern(size), shape);
        const qint64 nominal_ms = qint64(size) * 1000 / shape.bytes_per_second();

        QElapsedTimer timer;
        timer.start();
        SoundPlayer::instance().play_image(image);
        QVERIFY2(timer.elapsed() >= nominal_ms * 8 / 10, qPrintable(QString::number(timer.elapsed())));
        QVERIFY(SoundPlayer::instance().last_playback().completed);
    }

    void badImageOrNamePlaysNothing_data()
    {
        QTest::addColumn<QByteArray>("image");
        QTest::addColumn<QString>("name"); // played by name when the image is null
        QTest::newRow("empty image") << QByteArray("") << QString();
        QTest::newRow("not a wave") << QByteArray("just some text, no RIFF header at all") << QString();
        QTest::newRow("header cut short") << wave_image(pattern(3584), WaveShape{}).left(20) << QString();
        QTest::newRow("no samples") << wave_image(QByteArray(), WaveShape{}) << QString();
        QTest::newRow("unknown name") << QByteArray() << QStringLiteral("NO_SUCH_SOUND");
        QTest::newRow("empty name") << QByteArray() << QString();
        QTest::newRow("path out of the sounds") << QByteArray() << QStringLiteral("../WAVE/HIT");
    }

    void badImageOrNamePlaysNothing()
    {
        QFETCH(QByteArray, image);
        QFETCH(QString, name);
        image.isNull() ? play_sound(name) : SoundPlayer::instance().play_image(image);
        QVERIFY(played_nothing());
    }
};

class SoundOnDiskDriver : public QObject {
    Q_OBJECT
private slots:
    void initTestCase()
    {
        QVERIFY(dir_.isValid());
        qputenv("SDL_DISKAUDIOFILE", QFile::encodeName(output_path()));
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
        SoundPlayer::instance().play_image(wave_image(samples, shape));
        QVERIFY(holds_only(device_output(), samples, shape.silence()));
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
        play_sound(name);
        QVERIFY(holds_only(device_output(), samples, WaveShape{}.silence()));
    }

private:
    QString output_path() const { return dir_.filePath(QStringLiteral("device.raw")); }

    // Closing the device flushes the driver's file; the next sound opens it afresh.
    QByteArray device_output() const
    {
        SoundPlayer::instance().release();
        QFile file(output_path());
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
    }

    static bool holds_only(const QByteArray &output, const QByteArray &samples, char silence)
    {
        const qsizetype at = output.indexOf(samples);
        if (at < 0)
            return false;
        const QByteArray rest = output.left(at) + output.mid(at + samples.size());
        return std::all_of(rest.cbegin(), rest.cend(), [silence](char byte) { return byte == silence; });
    }

    QTemporaryDir dir_;
};

class SoundWithoutDriver : public QObject {
    Q_OBJECT
private slots:
    void detectsNoDeviceAndReturnsWithoutPlaying()
    {
        QVERIFY(!has_wave_device());
        SoundPlayer::instance().play_image(wave_image(pattern(3584), WaveShape{}));
        QVERIFY(played_nothing());
        std::int32_t flags = 2;
        play_sound(QStringLiteral("HIT"), flags);
        QCOMPARE(flags, 6);
        QVERIFY(played_nothing());
    }
};

// Run by sound_server_test.sh inside a private sound server started by the sound test harness
// (SOUND_TEST_KIND, SOUND_TEST_DIR; the harness in OCHRE_SOUND_HARNESS), with SDL's driver for it.
class SoundOnServer : public QObject {
    Q_OBJECT
private slots:
    void everyEmbeddedSoundPlaysCompletely_data()
    {
        QTest::addColumn<QString>("name");
        for (const char *name : {"HIT", "SHOTGUN", "EXPLOSION"})
            QTest::newRow(name) << QString::fromLatin1(name);
    }

    void everyEmbeddedSoundPlaysCompletely()
    {
        QFETCH(QString, name);
        QVERIFY(plays_completely(name));
    }

    void serverStoppedMidSoundEndsItAndTheNextSoundPlays()
    {
        if (kind() == "alsa")
            QSKIP("plain ALSA has no server to stop");
        QVERIFY(plays_completely(QStringLiteral("HIT")));
        std::atomic<qint64> stopped_at{-1};
        QElapsedTimer clock;
        clock.start();
        std::thread stopper([&] {
            std::this_thread::sleep_for(std::chrono::milliseconds(300));
            end_server();
            stopped_at = clock.elapsed();
        });
        play_sound(QStringLiteral("EXPLOSION"));
        const qint64 returned_at = clock.elapsed();
        stopper.join();
        qInfo("server ended at %lld ms, EXPLOSION returned at %lld ms", qint64(stopped_at), returned_at);
        QVERIFY(!SoundPlayer::instance().last_playback().completed);
        QVERIFY2(returned_at < stopped_at + 500, "the sound went on waiting for a server that had gone");
        QCOMPARE(harness({QStringLiteral("stop"), dir()}), 0);
        QCOMPARE(harness({kind(), dir()}), 0);
        QVERIFY(plays_completely(QStringLiteral("HIT")));
    }

private:
    static QString kind() { return qEnvironmentVariable("SOUND_TEST_KIND"); }
    static QString dir() { return qEnvironmentVariable("SOUND_TEST_DIR"); }

    // Ends every process of the server at once, as a session restarting its sound server does.
    static void end_server()
    {
        QFile pids(dir() + QStringLiteral("/pids"));
        if (!pids.open(QIODevice::ReadOnly))
            return;
        while (!pids.atEnd()) {
            const QList<QByteArray> fields = pids.readLine().split(' ');
            if (const pid_t pid = fields.first().toInt(); pid > 0)
                kill(pid, SIGTERM);
        }
    }

    static int harness(const QStringList &arguments)
    {
        QProcess process;
        process.setProcessChannelMode(QProcess::ForwardedErrorChannel);
        process.start(QStringLiteral("bash"),
                      QStringList{qEnvironmentVariable("OCHRE_SOUND_HARNESS") + QStringLiteral("/start-sound-server.sh")}
                          + arguments);
        if (!process.waitForFinished(30000) || process.exitStatus() != QProcess::NormalExit) {
            qWarning("start-sound-server.sh: %s", qPrintable(process.errorString()));
            return -1;
        }
        return process.exitCode();
    }

    // Every play returns within its bound. A PulseAudio null sink holds a new stream for up to 2 s,
    // and sounds given up meanwhile are not complete; any other server takes the first sound at once.
    static bool plays_completely(const QString &name)
    {
        const QDeadlineTimer wait(kind() == "pulseaudio" ? 3000 : 0);
        for (;;) {
            QElapsedTimer clock;
            clock.start();
            play_sound(name);
            const auto &playback = SoundPlayer::instance().last_playback();
            const auto bound = std::chrono::duration_cast<std::chrono::milliseconds>(2 * playback.length).count() + 500;
            if (clock.elapsed() >= bound) {
                qWarning("%s blocked %lld ms, past its bound of %lld ms", qPrintable(name), clock.elapsed(),
                         qint64(bound));
                return false;
            }
            if (playback.completed)
                return true;
            if (wait.hasExpired()) {
                qWarning("%s did not play completely", qPrintable(name));
                return false;
            }
        }
    }
};

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    if (qEnvironmentVariableIsEmpty("SDL_AUDIODRIVER"))
        qputenv("SDL_AUDIODRIVER", "dummy");
    const QByteArray driver = qgetenv("SDL_AUDIODRIVER");
    if (driver == "dummy") {
        SoundOnDummyDriver test;
        return QTest::qExec(&test, argc, argv);
    }
    if (driver == "disk") {
        SoundOnDiskDriver test;
        return QTest::qExec(&test, argc, argv);
    }
    if (qEnvironmentVariableIsSet("SOUND_TEST_KIND")) {
        SoundOnServer test;
        return QTest::qExec(&test, argc, argv);
    }
    SoundWithoutDriver test;
    return QTest::qExec(&test, argc, argv);
}

#include "test_sound.moc"
