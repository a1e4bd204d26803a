#include "simulator/TraceFormat.h"

#include <cstdio>

namespace sim {

std::string HexBytes(std::span<const std::uint8_t> bytes)
{
    static constexpr char Digits[] = "0123456789ABCDEF";
    std::string text;
    text.reserve(bytes.size() * 3);
    for (std::uint8_t b : bytes) {
        if (!text.empty())
            text += ' ';
        text += Digits[b >> 4];
        text += Digits[b & 0x0F];
    }
    return text;
}

std::string TraceLine(double seconds, TraceKind kind, std::span<const std::uint8_t> bytes)
{
    const char* word = kind == TraceKind::Request ? "request" : kind == TraceKind::Reply ? "reply" : "noise";
    char stamp[32];
    std::snprintf(stamp, sizeof stamp, "%.6f ", seconds);
    std::string line = stamp;
    line += word;
    if (!bytes.empty())
        line += ' ' + HexBytes(bytes);
    return line;
}

} // namespace sim
