#pragma once

#include "device/ConverterLink.h"

#include <memory>
#include <string>

// What opening a port and identifying the converter found.
struct ConverterOpening {
    enum class Outcome { Opened, PortFailed, Silent, ForeignIdentity };
    Outcome outcome = Outcome::PortFailed;
    std::string identity; // as answered (Opened, ForeignIdentity)
    // Why it failed and what to do, for a person; empty when opened.
    std::string reason;
};

// Opens port through link, identifies the converter and accepts only a
// DNX8. On any failure the link is closed again and the reason returned as
// text; nothing is printed, so front ends other than the terminal (the
// server) can show it their own way.
ConverterOpening OpenDnx8(ConverterLink& link, const std::string& port);
