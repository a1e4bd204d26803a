#pragma once

#include <string>
#include <vector>

// Why a local serial port cannot be used, in words a technician can act on.
// The POSIX backend looks at the device, its group, the processes that hold
// it and the services known to take USB serial adapters; the Win32 backend
// at what opening the port says.
struct PortFinding {
    bool problem = false; // false: a note that may explain something
    std::string what;
    std::string fix; // empty when there is nothing to do
};

struct PortCheck {
    bool opens = false; // the port can be opened as the converter needs it
    std::vector<PortFinding> findings;
};

PortCheck checkLocalPort(const std::string& portName);

// Another process holds the port (its lock, or the port opened exclusively).
bool portHeldElsewhere(const std::string& portName);

// Findings about the machine as a whole (services that take USB serial
// adapters), for dnx8 doctor without a port.
std::vector<PortFinding> checkSerialEnvironment();
