#include "device/TraceFormat.h"

#include <cstdio>

namespace protocol {

std::string hexBytes(std::span<const std::uint8_t> bytes)
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

std::string traceLine(double seconds, TraceKind kind, std::span<const std::uint8_t> bytes,
                      std::string_view note)
{
    const char* word = kind == TraceKind::Request ? "request" : kind == TraceKind::Reply ? "reply" : "noise";
    char stamp[32];
    std::snprintf(stamp, sizeof stamp, "%.6f ", seconds);
    std::string line = stamp;
    line += word;
    if (!bytes.empty())
        line += ' ' + hexBytes(bytes);
    if (!note.empty()) {
        line += ' ';
        line += note;
    }
    return line;
}

} // namespace protocol
