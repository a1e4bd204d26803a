#pragma once

#include "device/Protocol.h"

#include <array>
#include <cstddef>
#include <cstdint>
#include <span>
#include <string_view>
#include <vector>

namespace sim {

// The converter's stored parameters, kept as their wire bytes so that
// every float travels back bit for bit as it was written.
class ParameterMemory {
public:
    // Every stored parameter zero-filled.
    ParameterMemory();

    // Wire bytes of one stored value; empty for live values, commands and
    // indexes out of range.
    std::span<std::uint8_t> value(protocol::Parameter id, std::size_t index = 0);
    std::span<const std::uint8_t> value(protocol::Parameter id, std::size_t index = 0) const;

    std::uint8_t byte(protocol::Parameter id) const;
    void setByte(protocol::Parameter id, std::uint8_t v);
    std::uint16_t word(protocol::Parameter id) const;
    void setWord(protocol::Parameter id, std::uint16_t v);
    std::int32_t integer(protocol::Parameter id) const;
    void setInteger(protocol::Parameter id, std::int32_t v);
    // Real at a byte offset inside the value (blocks hold several).
    float real(protocol::Parameter id, std::size_t offset = 0, std::size_t index = 0) const;
    void setReal(protocol::Parameter id, float v, std::size_t offset = 0, std::size_t index = 0);
    // Up to 8 characters, NUL-padded.
    void setText(protocol::Parameter id, std::string_view text);

    // Number of Commit commands received.
    unsigned commits = 0;

    bool operator==(const ParameterMemory&) const = default;

private:
    std::array<std::vector<std::uint8_t>, 256> bytes_;
};

// Little-endian access inside wire bytes.
std::uint32_t GetU32(const std::uint8_t* at);
void PutU32(std::uint8_t* at, std::uint32_t v);
float GetReal(const std::uint8_t* at);
void PutReal(std::uint8_t* at, float v);

} // namespace sim
