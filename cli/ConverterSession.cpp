#include "cli/ConverterSession.h"

#include "cli/CommandLine.h"
#include "cli/Console.h"
#include "cli/ExitCode.h"
#include "cli/Failure.h"
#include "config/ConverterOpening.h"
#include "device/NetworkPort.h"
#include "device/PortAddress.h"
#include "device/PortTransport.h"
#include "device/TracingTransport.h"

#include <iostream>

std::string cannotOpenText(const std::string& port, const std::string& problem)
{
    return "cannot open the port " + port + ": " + problem + ". dnx8 ports lists the serial ports; dnx8 doctor " +
           port + " checks this one step by step.";
}

std::optional<ConverterSession> openConverter(const std::string& port, const GlobalOptions& global)
{
    PortAddress address;
    std::string error;
    if (!parsePortAddress(port, address, error)) {
        fail(exit_code::DeviceFailed, "cannot open the port " + port + ": " + error + ".");
        return std::nullopt;
    }
    PortTransport made = makePortTransport(address, global.timeoutMs);
    // Ctrl+C or SIGTERM while a device server is slow to connect: give up at once.
    if (made.network)
        made.network->stopCheck = &Console::stopRequested;
    std::unique_ptr<ByteTransport> transport = std::move(made.transport);
    if (global.trace)
        transport = std::make_unique<TracingTransport>(std::move(transport), std::cerr);
    ConverterSession session;
    session.link = std::make_unique<ConverterLink>(std::move(transport));
    // Ctrl+C or SIGTERM: the transaction under way ends, nothing more is sent.
    session.link->setStopCheck(&Console::stopRequested);

    const ConverterOpening opened = openDnx8(*session.link, made.openText);
    switch (opened.outcome) {
    case ConverterOpening::Outcome::PortFailed:
        if (made.network)
            fail(exit_code::DeviceFailed, "cannot open " + port + ": " + made.network->failureText +
                                              ". dnx8 doctor " + port + " says more.");
        else
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
    session.openText = made.openText;
    return session;
}
