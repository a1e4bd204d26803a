#include "device/ConverterProbe.h"

#include "device/ConverterLink.h"
#include "device/NetworkPort.h"
#include "device/PortTransport.h"

ConverterProbe probeConverter(const PortAddress& address, std::uint32_t readTimeoutMs)
{
    ConverterProbe probe;
    PortTransport made = makePortTransport(address, readTimeoutMs);
    NetworkPort* network = made.network;
    if (!made.transport->open(made.openText)) {
        if (network) {
            probe.openFailure = network->failureText;
            probe.networkFailure = network->failure;
        }
        return probe;
    }
    probe.opened = true;
    ConverterLink link(std::move(made.transport));
    probe.identity = link.identify();
    std::int32_t serial = 0;
    if (probe.identity && *probe.identity == "DNX8" && link.readSerialNumber(serial))
        probe.serialNumber = serial;
    link.close();
    return probe;
}
