#pragma once

#include "device/ParameterTable.h"

#include <cstdint>
#include <span>
#include <string>
#include <string_view>

namespace sim {

// The words of one stored value, fields separated by blanks: reals as
// shortest decimals, integers in decimal, FirmwareVersion as 0xHHHH, the
// identity as text (or 0x and 16 hex digits when it is not plain text).
std::string FormatValue(const protocol::ParameterInfo& info, std::span<const std::uint8_t> bytes);

// Reads the words of one value (one word per field) into `out`, which has
// the value's size. Returns an empty text on success, else what is wrong.
std::string ParseValue(const protocol::ParameterInfo& info, std::span<const std::string_view> words,
                       std::span<std::uint8_t> out);

} // namespace sim
