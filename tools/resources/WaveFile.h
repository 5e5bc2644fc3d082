#pragma once

#include <QByteArray>
#include <cstdint>
#include <vector>

// A RIFF wave image: PCM, mono, 11025 Hz, 8-bit unsigned, one "fmt " and one "data" chunk.
class WaveFile {
public:
    static constexpr std::uint32_t kSampleRate = 11025;

    static QByteArray encode(const std::vector<std::uint8_t> &samples);
};
