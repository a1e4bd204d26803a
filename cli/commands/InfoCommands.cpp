#include "cli/commands/InfoCommands.h"

#include "cli/CommandLine.h"
#include "cli/ConfigurationText.h"
#include "config/ConfigurationJson.h"
#include "cli/ConverterSession.h"
#include "cli/ExitCode.h"
#include "cli/Failure.h"
#include "cli/LabelledLines.h"

#include <iostream>
#include <memory>

namespace {

struct Options {
    std::string port;
    bool json = false;
};

// Partial data is still shown; the exit code tells a script it is partial.
int endReading(const std::vector<std::string_view>& failed)
{
    if (failed.empty())
        return exit_code::Done;
    std::string names;
    for (std::string_view name : failed)
        names += (names.empty() ? "" : ", ") + std::string(name);
    return fail(exit_code::DeviceFailed,
                "the converter did not answer every read (" + names + "); check the cable and try again.");
}

int runInfo(const GlobalOptions& global, const Options& options)
{
    auto session = openConverter(options.port, global);
    if (!session)
        return exit_code::DeviceFailed;
    const ConverterReading reading = readConverter(*session->link, ReadScope::Identity, session->identity);

    if (options.json) {
        printJson(std::cout, identityJson(reading));
    } else {
        LabelledLines lines;
        addIdentityLines(lines, reading);
        lines.print(std::cout);
    }
    return endReading(reading.failedReads(ReadScope::Identity));
}

int runRead(const GlobalOptions& global, const Options& options)
{
    auto session = openConverter(options.port, global);
    if (!session)
        return exit_code::DeviceFailed;
    const ConverterReading reading = readConverter(*session->link, ReadScope::All, session->identity);
    if (options.json)
        printJson(std::cout, readingJson(reading));
    else
        printConfigurationText(std::cout, reading);
    return endReading(reading.failedReads());
}

void addPortAndJson(CLI::App* command, Options& options)
{
    command->add_option("PORT", options.port, "Serial port: a device path (/dev/ttyUSB0) or a name (COM3)")
        ->required();
    command->add_flag("--json", options.json, "JSON for machines instead of text for people");
}

} // namespace

void addInfoCommands(CommandLine& commandLine)
{
    auto info = std::make_shared<Options>();
    addPortAndJson(commandLine.add("info", "Identity, firmware, serial number, fitted output and relays",
                                   [&commandLine, info] { return runInfo(commandLine.global(), *info); }),
                   *info);
    auto read = std::make_shared<Options>();
    addPortAndJson(
        commandLine.add("read",
                        "Everything the window reads: input with its wiring and sensor, divider, "
                        "shunt, range, linearization, filter, scale, error state, live values, relays",
                        [&commandLine, read] { return runRead(commandLine.global(), *read); }),
        *read);
}
