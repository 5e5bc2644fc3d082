#pragma once

#include <cstdint>

// A 16-bit boolean as the match stores it: 0 is false, -1 (all bits set) is true,
// and any non-zero value reads as true.
class Flag16 {
public:
    constexpr Flag16() = default;
    constexpr Flag16(bool value)
        : raw_(value ? -1 : 0)
    {
    }

    static constexpr Flag16 from_raw(std::int16_t raw)
    {
        Flag16 flag;
        flag.raw_ = raw;
        return flag;
    }

    constexpr explicit operator bool() const { return raw_ != 0; }
    constexpr std::int16_t raw() const { return raw_; }

private:
    std::int16_t raw_ = 0;
};
