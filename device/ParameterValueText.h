#pragma once

#include "device/ParameterTable.h"

#include <cstdint>
#include <span>
#include <string>

namespace protocol {

// The shortest decimal text that reads back as the same float.
std::string realText(float value);

// The words of one value as it travels on the wire, fields separated by
// blanks: reals as shortest decimals, integers in decimal, FirmwareVersion
// as 0xHHHH, the identity as text (or 0x and 16 hex digits when it is not
// plain text). Fields the bytes do not fill are left out.
std::string valueText(const ParameterInfo& info, std::span<const std::uint8_t> bytes);

} // namespace protocol
