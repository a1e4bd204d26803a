#include "cli/commands/PortsCommands.h"

#include "cli/CommandLine.h"
#include "cli/ExitCode.h"
#include "cli/Failure.h"
#include "device/ConverterProbe.h"
#include "device/PortDoctor.h"
#include "device/PortList.h"
#include "device/PortNameList.h"
#include "device/StablePortNames.h"

#include <nlohmann/json.hpp>

#include <iostream>
#include <memory>

namespace {

struct Options {
    std::vector<std::string> ports; // given: asked instead of the system's list
    bool identify = false;
    bool json = false;
};

struct PortLine {
    std::string port;
    std::vector<std::string> byId;
    std::vector<std::string> byPath;
    std::string status; // with --identify: "DNX8", "busy", "no answer", ...
    std::optional<std::string> identity;
    std::optional<std::int32_t> serialNumber;
};

std::string describe(const ConverterProbe& probe)
{
    if (!probe.opened)
        return probe.openFailure.empty() ? "cannot open (dnx8 doctor says why)" : "cannot open: " + probe.openFailure;
    if (!probe.identity)
        return "no answer";
    if (*probe.identity != "DNX8")
        return "answers as \"" + *probe.identity + "\", not a DNX8";
    return probe.serialNumber ? "DNX8, serial number " + std::to_string(*probe.serialNumber) : "DNX8";
}

int listPorts(const GlobalOptions& global, const Options& options)
{
    std::vector<std::string> names = options.ports;
    if (names.empty()) {
        PortNameList ports;
        FillPortList(ports);
        for (int i = 0; i < ports.Count(); ++i)
            names.push_back(ports.StringAt(i));
    }
    const std::vector<StablePortName> stable = stablePortNames();
    std::vector<PortLine> lines;
    for (const std::string& name : names) {
        PortLine line{name, {}, {}, {}, {}, {}};
        for (const StablePortName& s : stable)
            if (s.device == name)
                (s.byId ? line.byId : line.byPath).push_back(s.name);
        if (options.identify) {
            PortAddress address;
            std::string error;
            if (!parsePortAddress(name, address, error)) {
                line.status = "bad name: " + error;
            } else if (!address.isNetwork() && portHeldElsewhere(address.local)) {
                // Asking would fail anyway; say so rather than open it.
                line.status = "busy (another program holds it), skipped";
            } else {
                const ConverterProbe probe = probeConverter(address, global.timeoutMs);
                line.status = describe(probe);
                line.identity = probe.identity;
                line.serialNumber = probe.serialNumber;
            }
        }
        lines.push_back(std::move(line));
    }

    if (options.json) {
        nlohmann::json out = nlohmann::json::array();
        for (const PortLine& line : lines) {
            nlohmann::json port{{"port", line.port}, {"byId", line.byId}, {"byPath", line.byPath}};
            if (options.identify) {
                port["status"] = line.status;
                port["identity"] = line.identity ? nlohmann::json(*line.identity) : nlohmann::json(nullptr);
                port["serialNumber"] = line.serialNumber ? nlohmann::json(*line.serialNumber) : nlohmann::json(nullptr);
            }
            out.push_back(port);
        }
        std::cout << out.dump(2) << '\n';
        return exit_code::Done;
    }
    // The port first on each line, so scripts keep reading the first word.
    for (const PortLine& line : lines) {
        std::cout << line.port;
        if (options.identify)
            std::cout << "  " << line.status;
        for (const auto* group : {&line.byId, &line.byPath})
            for (const std::string& name : *group)
                std::cout << "\n    " << name;
        std::cout << '\n';
    }
    return exit_code::Done;
}

} // namespace

void addPortsCommands(CommandLine& commandLine)
{
    auto options = std::make_shared<Options>();
    CLI::App* ports = commandLine.add(
        "ports",
        "List the serial ports, one per line (the list config.exe offers), each followed by the stable names "
        "under /dev/serial/by-id and /dev/serial/by-path that point to it (indented); those names work as PORT "
        "too and survive replugging",
        [&commandLine, options] { return listPorts(commandLine.global(), *options); });
    ports->add_option("PORT", options->ports, "Ports to list or ask instead of the system's serial ports");
    ports->add_flag("--identify", options->identify,
                    "Ask each free port which converter answers: identity and serial number (reads only, one "
                    "transaction each; a port another program holds is skipped)");
    ports->add_flag("--json", options->json, "One JSON array: port, byId, byPath (and status, identity, "
                                             "serialNumber with --identify)");
}
