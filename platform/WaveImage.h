#pragma once

#include <QByteArray>
#include <QByteArrayView>

#include <chrono>
#include <optional>

// A PCM sound read from a RIFF wave image: its format and its samples, as an output device takes them.
class WaveImage {
public:
    struct Format {
        int frequency = 0; // samples per second
        int channels = 0;
        int bits = 0; // per sample: 8 (unsigned) or 16 (signed)

        int block() const { return channels * bits / 8; }
        int bytes_per_second() const { return frequency * block(); }
        friend bool operator==(const Format &, const Format &) = default;
    };

    // Uncompressed PCM of 8 or 16 bits, one or two channels, with at least one sample; else nothing.
    static std::optional<WaveImage> read(QByteArrayView image);

    // 8-bit samples as signed 16 bits, whose silence is zero; other formats are left as they are.
    void widen_to_16_bits();

    const Format &format() const { return format_; }
    const QByteArray &samples() const { return samples_; }
    std::chrono::nanoseconds length() const;

private:
    Format format_;
    QByteArray samples_;
};
