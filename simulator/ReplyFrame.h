#pragma once

#include <cstdint>
#include <span>
#include <vector>

namespace sim {

// 06 n data chk
std::vector<std::uint8_t> PositiveReply(std::span<const std::uint8_t> data);
// 15 EB
std::vector<std::uint8_t> NegativeReply();

} // namespace sim
