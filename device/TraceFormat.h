#pragma once

#include <cstdint>
#include <span>
#include <string>
#include <string_view>

// The frame trace of dnx8 --trace and dnx8sim --trace, so that the two read
// alike and one tool can compare them.
namespace protocol {

enum class TraceKind : std::uint8_t {
    Request, // a frame from the tool
    Reply,   // the bytes the converter put on the line for it
    Noise,   // bytes that belonged to no frame
};

// One trace line without its newline: seconds since start with six
// decimals, the kind, the bytes in upper-case hex, then the note if any,
// e.g. "0.012345 request 01 3E 01 07 B9" or "0.212000 reply (time-out)".
std::string traceLine(double seconds, TraceKind kind, std::span<const std::uint8_t> bytes,
                      std::string_view note = {});

// "01 3E 07": upper-case hex, one space between bytes.
std::string hexBytes(std::span<const std::uint8_t> bytes);

} // namespace protocol
