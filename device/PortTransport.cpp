#include "device/PortTransport.h"

#include "device/ConverterLink.h"
#include "device/NetworkPort.h"
#include "device/SerialPort.h"

#include <algorithm>

PortTransport makePortTransport(const PortAddress& address, std::uint32_t readTimeoutMs)
{
    std::unique_ptr<SerialPort> serial = ConverterLink::ConverterPort();
    serial->timeouts.readTotalTimeoutConstant = std::max(serial->timeouts.readTotalTimeoutConstant, readTimeoutMs);
    PortTransport made;
    if (!address.isNetwork()) {
        made.openText = SerialPort::DevicePath(address.local);
        made.transport = std::move(serial);
        return made;
    }
    auto network = std::make_unique<NetworkPort>();
    network->timeouts = serial->timeouts;
    network->baudRate = serial->baudRate;
    // A slow network gets as long to set the line up as to answer.
    network->negotiationTimeoutMs = std::max<int>(network->negotiationTimeoutMs, static_cast<int>(readTimeoutMs) * 4);
    made.network = network.get();
    made.openText = address.text();
    made.transport = std::move(network);
    return made;
}
