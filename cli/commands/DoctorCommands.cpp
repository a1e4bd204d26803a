#include "cli/commands/DoctorCommands.h"

#include "cli/CommandLine.h"
#include "cli/ExitCode.h"
#include "cli/Failure.h"
#include "device/ConverterProbe.h"
#include "device/PortDoctor.h"
#include "device/PortList.h"
#include "device/PortNameList.h"

#include <iostream>
#include <memory>

namespace {

struct Options {
    std::string port;
};

void print(const PortFinding& finding)
{
    std::cout << (finding.problem ? "  problem: " : "  note: ") << finding.what << '\n';
    if (!finding.fix.empty())
        std::cout << "  fix: " << finding.fix << '\n';
}

std::string networkFix(NetworkPort::Failure failure)
{
    switch (failure) {
    case NetworkPort::Failure::NotResolved:
        return "check the host name, or give the device server's IP address";
    case NetworkPort::Failure::Refused:
        return "check the port number and that the device server has this serial port enabled (and, for "
               "ser2net, a connection for it in its configuration)";
    case NetworkPort::Failure::NoAnswer:
        return "check the address, the network and any firewall between here and the device server";
    case NetworkPort::Failure::NotRfc2217:
        return "the server speaks a raw stream: write tcp:// and set the line to 9600 8N1 on the server";
    case NetworkPort::Failure::LineRefused:
        return "set the port to 9600 baud, 8 data bits, no parity, 1 stop bit on the device server";
    default:
        return "";
    }
}

// Says what answers on an open port; true when a DNX8 did.
bool reportAnswer(const ConverterProbe& probe)
{
    if (!probe.identity) {
        print({true, "the port opens, but no converter answers",
               "check the cable (RS-232 or RS-485 adapter wiring), the converter's power, and that this is its "
               "port"});
        return false;
    }
    if (*probe.identity != "DNX8") {
        print({true, "a device answers as \"" + *probe.identity + "\", not as a DNX8",
               "dnx8 configures DNX8 converters only; check that this is the right port"});
        return false;
    }
    std::cout << "  ok: a DNX8 answers"
              << (probe.serialNumber ? " (serial number " + std::to_string(*probe.serialNumber) + ")" : "")
              << '\n';
    return true;
}

bool examine(const std::string& port, const GlobalOptions& global)
{
    std::cout << port << '\n';
    PortAddress address;
    std::string error;
    parsePortAddress(port, address, error); // checked by the caller
    if (address.isNetwork()) {
        const ConverterProbe probe = probeConverter(address, global.timeoutMs);
        if (!probe.opened) {
            print({true, probe.openFailure, networkFix(probe.networkFailure)});
            return false;
        }
        return reportAnswer(probe);
    }
    const PortCheck check = checkLocalPort(address.local);
    for (const PortFinding& finding : check.findings)
        print(finding);
    if (!check.opens)
        return false;
    const ConverterProbe probe = probeConverter(address, global.timeoutMs);
    if (!probe.opened) {
        print({true, "the port cannot be set up as a serial line", "dnx8 ports lists the serial ports"});
        return false;
    }
    return reportAnswer(probe);
}

int runDoctor(const GlobalOptions& global, const Options& options)
{
    if (!options.port.empty()) {
        PortAddress address;
        std::string error;
        if (!parsePortAddress(options.port, address, error))
            return fail(exit_code::BadUsage, "bad port " + options.port + ": " + error + ".");
        return examine(options.port, global) ? exit_code::Done : exit_code::DeviceFailed;
    }
    PortNameList ports;
    FillPortList(ports);
    bool answered = false;
    for (int i = 0; i < ports.Count(); ++i)
        answered = examine(ports.StringAt(i), global) || answered;
    if (ports.Count() == 0) {
        std::cout << "no serial ports\n";
        print({true, "the system reports no serial port", "plug the adapter in, then run dnx8 doctor again"});
        for (const PortFinding& finding : checkSerialEnvironment())
            print(finding);
    }
    return answered ? exit_code::Done : exit_code::DeviceFailed;
}

} // namespace

void addDoctorCommands(CommandLine& commandLine)
{
    auto options = std::make_shared<Options>();
    CLI::App* doctor = commandLine.add(
        "doctor",
        "Say why a port cannot be used and how to fix it (no such device, permission, another program, brltty "
        "or ModemManager, not a terminal, a device server that refuses or does not answer), and whether a DNX8 "
        "answers; every serial port without PORT. Exit 0 when a converter answered",
        [&commandLine, options] { return runDoctor(commandLine.global(), *options); });
    doctor->add_option("PORT", options->port, "A serial port, tcp://HOST:PORT or rfc2217://HOST:PORT");
}
