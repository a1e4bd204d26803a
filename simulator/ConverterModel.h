#pragma once

#include "simulator/LiveValues.h"
#include "simulator/ParameterMemory.h"

#include <cstdint>
#include <span>
#include <vector>

namespace sim {

// The converter behind the line: answers one request from its parameter
// memory. A request with n = 0 reads; n = the parameter's size writes, and
// the reply carries the value as stored after clipping; indexed blocks take
// an index byte first. Anything else is refused with 15 EB.
class ConverterModel {
public:
    ParameterMemory memory;
    LiveValues live;

    // The reply frame to a request whose checksum has been verified;
    // `seconds` since start drives the live values.
    std::vector<std::uint8_t> answer(std::uint8_t command, std::span<const std::uint8_t> data,
                                     double seconds);
};

} // namespace sim
