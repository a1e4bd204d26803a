#include "cli/ConverterSession.h"

#include "cli/CommandLine.h"
#include "cli/Console.h"
#include "cli/ExitCode.h"
#include "cli/Failure.h"
#include "device/PortProblem.h"
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

std::string cannotOpenText(const std::string& port)
{
    return "cannot open the port " + port + ": " + portOpenProblem(port) +
           ". dnx8 ports lists the serial ports; dnx8 doctor " + port + " checks this one step by step.";
}

std::optional<ConverterSession> openConverter(const std::string& port, const GlobalOptions& global)
{
    ConverterSession session;
    if (global.trace)
        session.link = std::make_unique<ConverterLink>(
            std::make_unique<TracingTransport>(ConverterLink::ConverterPort(), std::cerr));
    else
        session.link = std::make_unique<ConverterLink>();
    // Ctrl+C or SIGTERM: the transaction under way ends, nothing more is sent.
    session.link->setStopCheck(&Console::stopRequested);

    if (!session.link->open(port)) {
        fail(exit_code::DeviceFailed, cannotOpenText(port));
        return std::nullopt;
    }
    std::optional<std::string> identity = session.link->identify();
    if (!identity) {
        const LinkFailure failure = session.link->lastFailure();
        session.link->close();
        fail(exit_code::DeviceFailed, noAnswerText(port, failure));
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
