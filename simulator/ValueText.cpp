#include "simulator/ValueText.h"

#include "device/ParameterValueText.h"

#include <bit>
#include <charconv>

namespace sim {

std::string FormatReal(float value)
{
    return protocol::realText(value);
}

std::optional<float> ParseReal(std::string_view text)
{
    if (text.size() == 10 && text.starts_with("0x")) {
        std::uint32_t bits = 0;
        auto r = std::from_chars(text.data() + 2, text.data() + text.size(), bits, 16);
        if (r.ec != std::errc() || r.ptr != text.data() + text.size())
            return std::nullopt;
        return std::bit_cast<float>(bits);
    }
    if (text.starts_with('+'))
        text.remove_prefix(1);
    float value = 0.0f;
    auto r = std::from_chars(text.data(), text.data() + text.size(), value);
    if (text.empty() || r.ec != std::errc() || r.ptr != text.data() + text.size())
        return std::nullopt;
    return value;
}

std::optional<std::int64_t> ParseInteger(std::string_view text)
{
    int base = 10;
    if (text.starts_with("0x") || text.starts_with("0X")) {
        base = 16;
        text.remove_prefix(2);
    }
    std::int64_t value = 0;
    auto r = std::from_chars(text.data(), text.data() + text.size(), value, base);
    if (text.empty() || r.ec != std::errc() || r.ptr != text.data() + text.size())
        return std::nullopt;
    return value;
}

std::vector<std::string_view> SplitWords(std::string_view line)
{
    std::vector<std::string_view> words;
    std::size_t at = 0;
    while (at < line.size()) {
        const std::size_t start = line.find_first_not_of(" \t\r\n", at);
        if (start == std::string_view::npos)
            break;
        std::size_t end = line.find_first_of(" \t\r\n", start);
        if (end == std::string_view::npos)
            end = line.size();
        words.push_back(line.substr(start, end - start));
        at = end;
    }
    return words;
}

} // namespace sim
