#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace sim {

// The shortest decimal text that reads back as the same float.
std::string FormatReal(float value);
// A decimal real ("1.5", "-2e-3", "nan", "inf"), or "0x" and exactly
// eight hex digits for a bit pattern ("0xC372CA74").
std::optional<float> ParseReal(std::string_view text);
// Decimal, or hexadecimal after "0x".
std::optional<std::int64_t> ParseInteger(std::string_view text);

// Words separated by blanks or tabs.
std::vector<std::string_view> SplitWords(std::string_view line);

} // namespace sim
