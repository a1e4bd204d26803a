#pragma once

#include "device/Protocol.h"

#include <array>
#include <cstdint>

// One piece of a thermocouple's inverse characteristic,
// t = d0 + d1*E + ... + d12*E^12 (E in mV, t in degrees C), valid from
// lowerBound upwards to the next piece. Laid out as the converter's 64-byte
// record; only the first 57 bytes travel.
struct EmfRange {
    using WireImage = std::array<std::uint8_t, protocol::EmfRangeSize>;

    std::array<float, 13> d{};
    float lowerBound = 0.0f;
    std::int32_t degree = 0;
    std::int32_t reserved = 0; // never sent

    // d0..d12, lowerBound and the low byte of degree, little-endian.
    WireImage wireImage() const;

    // The piece evaluated in double precision.
    double temperatureAt(double emf) const;

    bool isUnused() const;
};

static_assert(sizeof(EmfRange) == 64);

// The one all-zero piece that fills the slots a thermocouple does not use.
inline constexpr EmfRange UnusedEmfRange{};
