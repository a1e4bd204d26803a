#pragma once

#include <cstdint>

// Time-outs of a serial port in milliseconds, laid out as the Windows driver
// keeps them. A read waits at most multiplier * count + constant in total.
struct CommTimeouts {
    std::uint32_t readIntervalTimeout = 0;
    std::uint32_t readTotalTimeoutMultiplier = 0;
    std::uint32_t readTotalTimeoutConstant = 0;
    std::uint32_t writeTotalTimeoutMultiplier = 0;
    std::uint32_t writeTotalTimeoutConstant = 0;

    bool operator==(const CommTimeouts&) const = default;
};
