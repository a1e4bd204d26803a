#pragma once

#include <cstdint>
#include <span>
#include <string>

namespace sim {

enum class TraceKind : std::uint8_t {
    Request, // a frame from the tool
    Reply,   // the bytes the converter put on the line for it
    Noise,   // bytes that belonged to no frame
};

// One trace line without its newline: seconds since start with six
// decimals, the kind, then the bytes in upper-case hex, e.g.
// "0.012345 request 01 3E 01 07 B9".
std::string TraceLine(double seconds, TraceKind kind, std::span<const std::uint8_t> bytes);

std::string HexBytes(std::span<const std::uint8_t> bytes);

} // namespace sim
