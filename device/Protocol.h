#pragma once

// Frame format and parameter numbers of the converter's serial protocol,
// shared by the tool's link and by the simulated converter.
//
// Request: 01 cmd n data[n] chk      Reply: 06 n data[n] chk   or   15 EB
// chk makes the byte sum of the whole frame 0 modulo 256.

#include <cstddef>
#include <cstdint>

namespace protocol {

inline constexpr std::uint8_t Start = 0x01;
inline constexpr std::uint8_t Ack = 0x06;
inline constexpr std::uint8_t Nak = 0x15;
inline constexpr std::uint8_t NakChecksum = 0xEB;

inline constexpr std::size_t FrameSize = 64;
inline constexpr std::size_t RequestHeader = 3; // start, command, n
inline constexpr std::size_t ReplyHeader = 2;   // ack, n
// The largest reply whose data, header and checksum fit the frame buffer.
inline constexpr std::size_t MaxReplyData = FrameSize - ReplyHeader - 1;
inline constexpr std::size_t MaxRequestData = FrameSize - RequestHeader - 1;

// Two's complement of the 8-bit sum of bytes[0..length).
constexpr std::uint8_t Checksum(const std::uint8_t* bytes, std::size_t length)
{
    unsigned sum = 0;
    for (std::size_t i = 0; i < length; ++i)
        sum += bytes[i];
    return static_cast<std::uint8_t>(0x100 - (sum & 0xFF));
}

// True when the bytes, checksum included, sum to 0 modulo 256.
constexpr bool SumsToZero(const std::uint8_t* bytes, std::size_t length)
{
    return Checksum(bytes, length) == 0;
}

// Parameter numbers; each is the command code that reads or writes it.
enum class Parameter : std::uint8_t {
    Identity = 0x21,
    FirmwareVersion = 0x22,
    SerialNumber = 0x23,
    LiveInput = 0x24,
    LiveProcess = 0x25,
    LiveValue = 0x26,
    LiveRatio = 0x27,
    Commit = 0x2B,
    InputType = 0x2C,
    OutputType = 0x2D,
    RelayOptions = 0x2E,
    Divider = 0x34,
    Shunt = 0x35,
    RangeMin = 0x36,
    RangeMax = 0x37,
    CurveDegree = 0x38,
    CurveCoefficients = 0x39,
    Relay1 = 0x3A,
    Relay2 = 0x3B,
    ScaleMin = 0x3C,
    ScaleMax = 0x3D,
    Filter = 0x3E,
    SegmentCount = 0x3F,
    ErrorSignalling = 0x40,
    EmfRange = 0x41,
    Segment = 0x42,
};

constexpr std::uint8_t Code(Parameter p)
{
    return static_cast<std::uint8_t>(p);
}

// Sizes of the values on the wire.
inline constexpr std::size_t IdentitySize = 8;
inline constexpr std::size_t RelaySettingsSize = 13;
inline constexpr std::size_t CoefficientsSize = 40;
inline constexpr std::size_t EmfRangeSize = 57;
inline constexpr std::size_t SegmentSize = 20;

} // namespace protocol
