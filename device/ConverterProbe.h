#pragma once

#include "device/NetworkPort.h"
#include "device/PortAddress.h"

#include <cstdint>
#include <optional>
#include <string>

// What one look at a port found: whether it opened, and what answered.
// Reads only: the identity, and the serial number when a DNX8 answered.
struct ConverterProbe {
    bool opened = false;
    std::string openFailure; // why not, when the transport says (network ports)
    NetworkPort::Failure networkFailure = NetworkPort::Failure::None;
    std::optional<std::string> identity;
    std::optional<std::int32_t> serialNumber;
};

// Opens the port with the converter's settings, asks, and closes it again.
ConverterProbe probeConverter(const PortAddress& address, std::uint32_t readTimeoutMs);
