#include "cli/ConverterSession.h"

#include "cli/CommandLine.h"
#include "cli/ExitCode.h"
#include "cli/Failure.h"
#include "device/TracingTransport.h"
#include "device/SerialPort.h"
#include "framework/NumberText.h"

#include <iostream>

namespace {

// The identity is the converter's own bytes: show anything unusual in hex.
std::string printable(const std::string& bytes)
{
    std::string text;
    for (unsigned char c : bytes)
        text += c >= 0x20 && c < 0x7F ? std::string(1, static_cast<char>(c))
                                      : "\\x" + number_text::HexDigits(c, 2);
    return text;
}

} // namespace

std::optional<ConverterSession> openConverter(const std::string& port, const GlobalOptions& global)
{
    ConverterSession session;
    if (global.trace)
        session.link = std::make_unique<ConverterLink>(
            std::make_unique<TracingTransport>(ConverterLink::ConverterPort(), std::cerr));
    else
        session.link = std::make_unique<ConverterLink>();

    if (!session.link->open(port)) {
        fail(exit_code::DeviceFailed, "cannot open the port " + port +
                                          ". Check its name (dnx8 ports lists the serial ports) and that no "
                                          "other program, such as config.exe or another dnx8, holds it.");
        return std::nullopt;
    }
    std::optional<std::string> identity = session.link->identify();
    if (!identity) {
        session.link->close();
        fail(exit_code::DeviceFailed,
             "no converter answers on " + port +
                 ". Check the cable, the converter's power and that this is its port.");
        return std::nullopt;
    }
    if (*identity != AcceptedIdentity) {
        session.link->close();
        fail(exit_code::DeviceFailed,
             "the device on " + port + " answers as \"" + printable(*identity) +
                 "\", not as a DNX8 (Převodník není kompatibilní s tímto nástrojem). "
                 "dnx8 configures DNX8 converters only; check that this is the right "
                 "port.");
        return std::nullopt;
    }
    session.identity = *identity;
    return session;
}
