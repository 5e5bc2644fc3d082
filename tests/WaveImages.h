#pragma once

#include "SoundInterface.h"

#include <QByteArray>
#include <QDataStream>
#include <QObject>
#include <QTest>

#include <optional>

// Wave images made up by the sound tests, what a device gets of them, and the tables the tests share.
struct WaveShape {
    int frequency = 11025;
    int channels = 1;
    int bits = 8;

    int bytes_per_second() const { return frequency * channels * bits / 8; }
};
Q_DECLARE_METATYPE(WaveShape)

inline QByteArray pattern(int size)
{
    QByteArray samples(size, Qt::Uninitialized);
    for (int i = 0; i < size; ++i)
        samples[i] = char((i * 37 + 11) & 0xff);
    return samples;
}

// What the device gets: 8-bit samples widened to signed 16 bits, so that silence is zero in every format.
inline QByteArray as_played(const QByteArray &samples, const WaveShape &shape)
{
    if (shape.bits != 8)
        return samples;
    QByteArray played;
    for (char byte : samples) {
        const auto sample = qint16((quint8(byte) - 0x80) * 0x100);
        played.append(reinterpret_cast<const char *>(&sample), sizeof sample);
    }
    return played;
}

inline QByteArray wave_image(const QByteArray &samples, const WaveShape &shape)
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

// Sounds whose length a play must last: the device opened, reopened in another format, and back.
inline void add_shape_rows()
{
    QTest::addColumn<WaveShape>("shape");
    QTest::addColumn<int>("size");
    QTest::newRow("8-bit mono 11025 Hz") << WaveShape{11025, 1, 8} << 3584;
    QTest::newRow("16-bit stereo 22050 Hz reopens the device") << WaveShape{22050, 2, 16} << 22050;
    QTest::newRow("back to 8-bit mono") << WaveShape{11025, 1, 8} << 8384;
}

// Images and names that must play nothing.
inline void add_bad_sound_rows()
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

inline void add_embedded_sound_rows()
{
    QTest::addColumn<QString>("name");
    for (const char *name : {"HIT", "SHOTGUN", "EXPLOSION"})
        QTest::newRow(name) << QString::fromLatin1(name);
}

// Asks the player for a device and runs the event loop until it answers.
inline bool has_wave_device(SoundInterface &player)
{
    std::optional<bool> found;
    QObject context;
    player.check_device(&context, [&found](bool answer) { found = answer; });
    return QTest::qWaitFor([&found] { return found.has_value(); }, 30000) && *found;
}
