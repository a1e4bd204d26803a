#pragma once

#include "device/Protocol.h"

#include <cstddef>
#include <cstdint>
#include <span>
#include <string_view>

namespace sim {

// One field of a parameter value as it travels on the wire.
enum class Field : std::uint8_t {
    U8,
    U16,
    Hex16, // a 16-bit value best read in hexadecimal (firmware version)
    I32,
    Real,
    Text8, // 8 bytes of text padded with NUL
};

enum class Access : std::uint8_t {
    ReadOnly,  // configuration the converter reports but never takes
    ReadWrite, // n = 0 reads, n = size writes and echoes the stored value
    Live,      // computed at each read, never stored
    Command,   // one data byte, empty reply
    Indexed,   // index byte + block, echoes the stored block; not readable
};

struct ParameterInfo {
    protocol::Parameter id;
    std::string_view name;
    Access access;
    std::span<const Field> fields;
    std::size_t size;  // bytes of one value
    std::size_t slots; // number of indexed values (1 if not indexed)

    std::uint8_t code() const { return protocol::Code(id); }
};

// Every parameter the converter knows, in command-code order.
std::span<const ParameterInfo> Parameters();

// nullptr when the code or name is not a parameter.
const ParameterInfo* FindParameter(std::uint8_t code);
const ParameterInfo* FindParameter(std::string_view name);

const ParameterInfo& InfoOf(protocol::Parameter id);

std::size_t FieldSize(Field field);

} // namespace sim
