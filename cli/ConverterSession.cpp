#include "cli/ConverterSession.h"

#include "cli/CommandLine.h"
#include "cli/ExitCode.h"
#include "cli/Failure.h"
#include "config/ConverterOpening.h"
#include "device/TracingTransport.h"
#include "device/SerialPort.h"

#include <iostream>

std::optional<ConverterSession> openConverter(const std::string& port, const GlobalOptions& global)
{
    ConverterSession session;
    if (global.trace)
        session.link = std::make_unique<ConverterLink>(
            std::make_unique<TracingTransport>(ConverterLink::ConverterPort(), std::cerr));
    else
        session.link = std::make_unique<ConverterLink>();

    const ConverterOpening opened = openDnx8(*session.link, port);
    switch (opened.outcome) {
    case ConverterOpening::Outcome::PortFailed:
        fail(exit_code::DeviceFailed, "cannot open the port " + port +
                                          ". Check its name (dnx8 ports lists the serial ports) and that no "
                                          "other program, such as config.exe or another dnx8, holds it.");
        return std::nullopt;
    case ConverterOpening::Outcome::Silent:
        fail(exit_code::DeviceFailed,
             "no converter answers on " + port +
                 ". Check the cable, the converter's power and that this is its port.");
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
