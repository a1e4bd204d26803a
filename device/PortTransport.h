#pragma once

#include "device/ByteTransport.h"
#include "device/PortAddress.h"

#include <cstdint>
#include <memory>
#include <string>

class NetworkPort;

// The transport a PORT names, closed, with the converter's line settings
// and time-outs: a SerialPort for a local port, a NetworkPort for a serial
// device server. Every front end makes its ports here, so a port name means
// the same everywhere.
struct PortTransport {
    std::unique_ptr<ByteTransport> transport;
    NetworkPort* network = nullptr; // the same object when it is one, for its failure text
    std::string openText;           // what to hand to open(): a device path or the address
};

// The read time-out the protocol uses unless the user lengthens it.
inline constexpr std::uint32_t DefaultReadTimeoutMs = 200;

// readTimeoutMs below the default keeps the default.
PortTransport makePortTransport(const PortAddress& address, std::uint32_t readTimeoutMs = DefaultReadTimeoutMs);
