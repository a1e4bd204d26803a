#include "cli/ConverterSession.h"

#include "cli/CommandLine.h"
#include "cli/Console.h"
#include "cli/ExitCode.h"
#include "cli/Failure.h"
#include "config/ConverterOpening.h"
#include "device/TracingTransport.h"
#include "device/SerialPort.h"

#include <iostream>

std::string cannotOpenText(const std::string& port, const std::string& problem)
{
    return "cannot open the port " + port + ": " + problem + ". dnx8 ports lists the serial ports; dnx8 doctor " +
           port + " checks this one step by step.";
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

    const ConverterOpening opened = openDnx8(*session.link, port);
    switch (opened.outcome) {
    case ConverterOpening::Outcome::PortFailed:
        fail(exit_code::DeviceFailed, cannotOpenText(port, opened.portProblem));
        return std::nullopt;
    case ConverterOpening::Outcome::Silent:
        fail(exit_code::DeviceFailed, noAnswerText(port, opened.failure));
        return std::nullopt;
    case ConverterOpening::Outcome::ForeignIdentity:
        fail(exit_code::DeviceFailed,
             "the device on " + port + " answers as \"" + printableIdentity(opened.identity) +
                 "\", not as a DNX8 (Převodník není kompatibilní s tímto nástrojem). "
                 "dnx8 configures DNX8 converters only; check that this is the right "
                 "port.");
        return std::nullopt;
    case ConverterOpening::Outcome::Opened:
        break;
    }
    session.identity = opened.identity;
    return session;
}
