#pragma once

#include <array>
#include <cstddef>
#include <cstdint>

// Switching settings of one relay. On the wire a packed little-endian record
// of 13 bytes: onValue, offValue (reals), onDelay, offDelay (16-bit), mode.
struct RelaySettings {
    static constexpr std::size_t Size = 13;
    using Bytes = std::array<std::uint8_t, Size>;

    static constexpr std::uint8_t Hysteresis = 0;
    static constexpr std::uint8_t Window = 1;

    float onValue = 0.0f;
    float offValue = 0.0f;
    std::uint16_t onDelay = 0;
    std::uint16_t offDelay = 0;
    std::uint8_t mode = Hysteresis;

    Bytes encode() const;
    void encodeTo(std::uint8_t* bytes) const;
    static RelaySettings decode(const std::uint8_t* bytes);

    bool operator==(const RelaySettings&) const = default;
};
