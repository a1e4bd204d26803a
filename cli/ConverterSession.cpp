#include "cli/ConverterSession.h"

#include "cli/CommandLine.h"
#include "cli/ExitCode.h"
#include "cli/Failure.h"
#include "device/TracingTransport.h"
#include "device/NetworkPort.h"
#include "device/PortAddress.h"
#include "device/PortTransport.h"
#include "framework/NumberText.h"

#include <iostream>

namespace {

// The identity is the converter's own bytes: show anything unusual in hex.
std::string Printable(const std::string& bytes)
{
    std::string text;
    for (unsigned char c : bytes)
        text += c >= 0x20 && c < 0x7F ? std::string(1, static_cast<char>(c))
                                      : "\\x" + number_text::HexDigits(c, 2);
    return text;
}

} // namespace

std::optional<ConverterSession> OpenConverter(const std::string& port, const GlobalOptions& global)
{
    PortAddress address;
    std::string error;
    if (!parsePortAddress(port, address, error)) {
        Fail(exit_code::DeviceFailed, "cannot open the port " + port + ": " + error + ".");
        return std::nullopt;
    }
    PortTransport made = makePortTransport(address, global.timeoutMs);
    std::unique_ptr<ByteTransport> transport = std::move(made.transport);
    if (global.trace)
        transport = std::make_unique<TracingTransport>(std::move(transport), std::cerr);
    if (!transport->open(made.openText)) {
        if (made.network)
            Fail(exit_code::DeviceFailed, "cannot open " + port + ": " + made.network->failureText +
                                              ". dnx8 doctor " + port + " says more.");
        else
            Fail(exit_code::DeviceFailed,
                 "cannot open the port " + port +
                     ". Check its name (dnx8 ports lists the serial ports) and that no other program, such as "
                     "config.exe or another dnx8, holds it; dnx8 doctor " + port + " says why.");
        return std::nullopt;
    }
    ConverterSession session;
    session.link = std::make_unique<ConverterLink>(std::move(transport));
    std::optional<std::string> identity = session.link->identify();
    if (!identity) {
        session.link->close();
        Fail(exit_code::DeviceFailed,
             "no converter answers on " + port +
                 ". Check the cable, the converter's power and that this is its port.");
        return std::nullopt;
    }
    if (*identity != AcceptedIdentity) {
        session.link->close();
        Fail(exit_code::DeviceFailed,
             "the device on " + port + " answers as \"" + Printable(*identity) +
                 "\", not as a DNX8 (Převodník není kompatibilní s tímto nástrojem). "
                 "dnx8 configures DNX8 converters only; check that this is the right "
                 "port.");
        return std::nullopt;
    }
    session.identity = *identity;
    return session;
}
