#pragma once

#include <cstdint>

// Tiny xorshift generator: the same sequence on every platform and library version.
class Prng {
public:
    explicit constexpr Prng(std::uint32_t seed)
        : state_(seed != 0 ? seed : 0x9E3779B9u)
    {
    }

    constexpr std::uint32_t next()
    {
        state_ ^= state_ << 13;
        state_ ^= state_ >> 17;
        state_ ^= state_ << 5;
        return state_;
    }

    // Uniform in [-1, 1).
    constexpr double bipolar() { return static_cast<double>(next() >> 8) / 8388608.0 - 1.0; }

    // Uniform in [0, 1).
    constexpr double unit() { return static_cast<double>(next() >> 8) / 16777216.0; }

private:
    std::uint32_t state_;
};
