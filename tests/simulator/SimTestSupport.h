#pragma once

#include "device/Protocol.h"
#include "simulator/SimulatedConverter.h"

#include <algorithm>
#include <cstdint>
#include <vector>

using Bytes = std::vector<std::uint8_t>;

// 01 cmd n data chk
inline Bytes RequestFrame(std::uint8_t command, const Bytes& data = {})
{
    Bytes frame(3 + data.size() + 1);
    frame[0] = protocol::Start;
    frame[1] = command;
    frame[2] = static_cast<std::uint8_t>(data.size());
    std::copy(data.begin(), data.end(), frame.begin() + 3);
    frame.back() = protocol::Checksum(frame.data(), frame.size() - 1);
    return frame;
}

inline Bytes RequestFrame(protocol::Parameter p, const Bytes& data = {})
{
    return RequestFrame(protocol::Code(p), data);
}

// 06 n data chk
inline Bytes Ack(const Bytes& data)
{
    Bytes frame(2 + data.size() + 1);
    frame[0] = protocol::Ack;
    frame[1] = static_cast<std::uint8_t>(data.size());
    std::copy(data.begin(), data.end(), frame.begin() + 2);
    frame.back() = protocol::Checksum(frame.data(), frame.size() - 1);
    return frame;
}

inline const Bytes NakFrame = {0x15, 0xEB};

// What the converter puts on the line for one request frame.
inline Bytes Ask(sim::SimulatedConverter& converter, const Bytes& frame, double seconds = 0.0)
{
    auto exchanges = converter.receive(frame, seconds);
    return exchanges.size() == 1 ? exchanges[0].reply.bytes : Bytes{0xDE, 0xAD};
}

inline Bytes FloatBytes(float v)
{
    Bytes b(4);
    sim::PutReal(b.data(), v);
    return b;
}
