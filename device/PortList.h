#pragma once

#include "framework/StringCollection.h"

#include <cstddef>
#include <optional>
#include <string>

#if !defined(_WIN32)
#include <filesystem>
#endif

// Adds the name of every serial port the system reports: on Windows the
// values under HKLM\hardware\devicemap\serialcomm (COM1, COM3, ...), on Linux
// the device paths of the machine's serial devices (/dev/ttyS0, /dev/ttyUSB0,
// /dev/ttyACM0, ...). Nothing is added when the system reports none.
void FillPortList(StringCollection& list);

// The port name in a registry value's data, read into 8 bytes: up to its
// first NUL. Nothing for an empty name, or for 8 bytes without a NUL (a
// name of more than 7 characters, left out like any name that does not fit).
std::optional<std::string> RegistryPortName(const char* data, std::size_t length);

#if !defined(_WIN32)
// The Linux scan with its roots given (/sys/class/tty and /dev normally).
// Without the sysfs tree it falls back to the device names alone, leaving out
// ttyS entries, which exist whether or not a port is fitted.
void FillPortListFrom(StringCollection& list, const std::filesystem::path& sysClassTty,
                      const std::filesystem::path& devDir);
#endif
