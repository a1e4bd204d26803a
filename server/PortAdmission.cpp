#include "server/PortAdmission.h"

#include "server/CoreCalls.h"

#include "device/PortAddress.h"

#include <algorithm>
#include <cctype>

#if !defined(_WIN32)
#include <filesystem>
#endif

namespace {

bool isListed(const std::string& port)
{
    const std::vector<std::string> names = core::portNames();
    return std::find(names.begin(), names.end(), port) != names.end();
}

} // namespace

std::string portRefusal(const std::string& port)
{
    if (port.empty() || port.size() > 255)
        return "give the port as {\"port\": NAME} with a name from the port list.";
    for (unsigned char c : port)
        if (c < 0x20 || c == 0x7F)
            return "the port name holds control characters; give a name from the port list.";
    if (isListed(port))
        return {};
    if (port.find("://") != std::string::npos) {
        PortAddress address;
        std::string error;
        return parsePortAddress(port, address, error) ? std::string() : "bad port address " + port + ": " + error + ".";
    }
#if defined(_WIN32)
    const bool bare = std::all_of(port.begin(), port.end(), [](unsigned char c) {
        return std::isalnum(c) || c == '_' || c == '-' || c == '.';
    });
    if (bare)
        return {};
#else
    std::error_code error;
    const std::string device = std::filesystem::canonical(port, error).string();
    if (!error && std::filesystem::is_character_file(device, error)) {
        const auto serialName = [&](std::string_view prefix) {
            return device.starts_with(prefix) && device.size() > prefix.size() &&
                   std::isalpha(static_cast<unsigned char>(device[prefix.size()]));
        };
        // ttyS0, ttyUSB0, ttyACM0, ...; never tty, tty1 (consoles) or other nodes.
        if (device.starts_with("/dev/pts/") || serialName("/dev/tty") || serialName("/dev/rfcomm"))
            return {};
    }
    if (error)
        return "there is no port " + port + "; the port list shows the serial ports.";
#endif
    return port + " is no serial port; give a name from the port list.";
}
