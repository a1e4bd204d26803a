#pragma once

#include "device/Protocol.h"
#include "simulator/SimulatedConverter.h"

#include <cstdint>
#include <vector>

using Bytes = std::vector<std::uint8_t>;

// 01 cmd n data chk
Bytes RequestFrame(std::uint8_t command, const Bytes& data = {});
Bytes RequestFrame(protocol::Parameter p, const Bytes& data = {});
// 06 n data chk
Bytes Ack(const Bytes& data);
inline const Bytes NakFrame = {0x15, 0xEB};

// What the converter puts on the line for one request frame.
Bytes Ask(sim::SimulatedConverter& converter, const Bytes& frame, double seconds = 0.0);

Bytes FloatBytes(float v);
