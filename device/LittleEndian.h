#pragma once

#include <bit>
#include <cstdint>

// Little-endian values inside frames, independent of the host's byte order.
namespace little_endian {

inline void PutU16(std::uint8_t* at, std::uint16_t v)
{
    at[0] = static_cast<std::uint8_t>(v);
    at[1] = static_cast<std::uint8_t>(v >> 8);
}

inline void PutU32(std::uint8_t* at, std::uint32_t v)
{
    for (int i = 0; i < 4; ++i)
        at[i] = static_cast<std::uint8_t>(v >> (8 * i));
}

inline void PutFloat(std::uint8_t* at, float v)
{
    PutU32(at, std::bit_cast<std::uint32_t>(v));
}

inline std::uint16_t GetU16(const std::uint8_t* at)
{
    return static_cast<std::uint16_t>(at[0] | (at[1] << 8));
}

inline std::uint32_t GetU32(const std::uint8_t* at)
{
    std::uint32_t v = 0;
    for (int i = 3; i >= 0; --i)
        v = (v << 8) | at[i];
    return v;
}

inline float GetFloat(const std::uint8_t* at)
{
    return std::bit_cast<float>(GetU32(at));
}

} // namespace little_endian
