#pragma once

#include "device/ParameterTable.h"

#include <cstdint>
#include <span>

namespace sim {

// Turns a written value into the value the converter keeps, as the
// instrument's firmware would: codes clamp to their largest valid value,
// real settings clamp to what the hardware can do, and a real that is not
// a number leaves the stored one in place. `incoming` is changed in place.
void ClipWrite(const protocol::ParameterInfo& info, std::span<std::uint8_t> incoming,
               std::span<const std::uint8_t> stored);

// Largest value a one-byte code may take; 255 where any byte is valid.
std::uint8_t ByteLimit(protocol::Parameter id);

} // namespace sim
