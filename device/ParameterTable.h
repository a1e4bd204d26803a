#pragma once

// What the converter holds: every parameter's size, fields and access, for
// the simulated converter and for the stand-ins that answer as it does.

#include "device/Protocol.h"

#include <cstddef>
#include <cstdint>
#include <span>
#include <string_view>

namespace protocol {

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
    Parameter id;
    std::string_view name;
    Access access;
    std::span<const Field> fields;
    std::size_t size;  // bytes of one value
    std::size_t slots; // number of indexed values (1 if not indexed)

    std::uint8_t code() const { return Code(id); }
};

// Every parameter the converter knows, in command-code order.
std::span<const ParameterInfo> parameters();

// nullptr when the code or name is not a parameter.
const ParameterInfo* findParameter(std::uint8_t code);
const ParameterInfo* findParameter(std::string_view name);

const ParameterInfo& infoOf(Parameter id);

std::size_t fieldSize(Field field);

// The part of a write's data that the converter echoes when it takes the
// data as sent: nothing for a command, the block without its index for an
// indexed parameter, all of it otherwise.
std::span<const std::uint8_t> writeEcho(std::uint8_t command, std::span<const std::uint8_t> data);

} // namespace protocol
