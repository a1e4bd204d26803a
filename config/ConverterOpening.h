#pragma once

#include "device/ConverterLink.h"

#include <string>
#include <string_view>

// The converter identity every front end works with; anything else is refused.
inline constexpr std::string_view AcceptedIdentity = "DNX8";

// What opening a port and identifying the converter found.
struct ConverterOpening {
    enum class Outcome { Opened, PortFailed, Silent, ForeignIdentity };
    Outcome outcome = Outcome::PortFailed;
    std::string identity; // as answered (Opened, ForeignIdentity)
    // Silent: why the identification failed (a silent line, a broken
    // reply, a NAK); noAnswerText words it.
    LinkFailure failure = LinkFailure::None;
    // PortFailed: the system's reason (portOpenProblem).
    std::string portProblem;
};

// Opens port through link, identifies the converter and accepts only a
// DNX8. On any failure the link is closed again; each front end tells the
// outcome in its own words.
ConverterOpening openDnx8(ConverterLink& link, const std::string& port);

// A converter's identity for a message: its own bytes, anything unusual in hex.
std::string printableIdentity(const std::string& bytes);
