#pragma once

#include <filesystem>
#include <string>
#include <vector>

// A name under /dev/serial/by-id or /dev/serial/by-path that udev keeps for a
// USB or built-in serial port, and the device it points to now. by-id follows
// the adapter (maker, model, serial number) wherever it is plugged; by-path
// follows the socket. Both survive replugging, unlike ttyUSB numbers.
struct StablePortName {
    std::string name;   // the full path of the link
    std::string device; // the device path it resolves to (/dev/ttyUSB0)
    bool byId = false;  // false: by-path
};

// Every such name, sorted; none where the folder is missing (Windows, no
// adapters). serialDir is /dev/serial normally.
std::vector<StablePortName> stablePortNames(const std::filesystem::path& serialDir = "/dev/serial");
