#pragma once

#include "device/ConverterLink.h"

#include <memory>
#include <optional>
#include <string>

struct GlobalOptions;

// A converter opened for one command: the link (with the frame trace when
// asked) and the identity it answered with.
struct ConverterSession {
    std::unique_ptr<ConverterLink> link;
    std::string identity;
    std::string openText; // what the link opens: the device path, or the network address
};

// Opens port, identifies the converter and accepts only a DNX8. On any
// failure the port is closed again, the reason and what to do go to
// standard error and nothing is returned: the command then exits with
// DeviceFailed.
std::optional<ConverterSession> openConverter(const std::string& port, const GlobalOptions& global);

// Why port cannot be opened, with what to do.
std::string cannotOpenText(const std::string& port, const std::string& problem);
