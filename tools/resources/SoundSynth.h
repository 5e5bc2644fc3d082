#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

// Synthesizes the three sound effects as 8-bit unsigned samples at 11025 Hz.
class SoundSynth {
public:
    static constexpr std::size_t kHitSamples = 3584;
    static constexpr std::size_t kShotgunSamples = 8384;
    static constexpr std::size_t kExplosionSamples = 15987;

    static std::vector<std::uint8_t> hit();
    static std::vector<std::uint8_t> shotgun();
    static std::vector<std::uint8_t> explosion();

private:
    static std::vector<std::uint8_t> quantise(std::vector<double> signal);
};
