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
int EndReading(const std::vector<std::string_view>& failed)
{
    if (failed.empty())
        return exit_code::Done;
    std::string names;
    for (std::string_view name : failed)
        names += (names.empty() ? "" : ", ") + std::string(name);
    return Fail(exit_code::DeviceFailed,
                "the converter did not answer every read (" + names + "); check the cable and try again.");
}

int RunInfo(const GlobalOptions& global, const Options& options)
{
    auto session = OpenConverter(options.port, global);
    if (!session)
        return exit_code::DeviceFailed;
    const ConverterReading reading = readConverter(*session->link, ReadScope::Identity, session->identity);

    if (options.json) {
        PrintJson(std::cout, identityJson(reading));
    } else {
        LabelledLines lines;
        AddIdentityLines(lines, reading);
        lines.print(std::cout);
    }
    return EndReading(reading.failedReads(ReadScope::Identity));
}

int RunRead(const GlobalOptions& global, const Options& options)
{
    auto session = OpenConverter(options.port, global);
    if (!session)
        return exit_code::DeviceFailed;
    const ConverterReading reading = readConverter(*session->link, ReadScope::All, session->identity);
    if (options.json)
        PrintJson(std::cout, readingJson(reading));
    else
        PrintConfigurationText(std::cout, reading);
    return EndReading(reading.failedReads());
}

void AddPortAndJson(CLI::App* command, Options& options)
{
    command->add_option("PORT", options.port, "Serial port: a device path (/dev/ttyUSB0) or a name (COM3)")
        ->required();
    command->add_flag("--json", options.json, "JSON for machines instead of text for people");
}

} // namespace

void AddInfoCommands(CommandLine& commandLine)
{
    auto info = std::make_shared<Options>();
    AddPortAndJson(commandLine.add("info", "Identity, firmware, serial number, fitted output and relays",
                                   [&commandLine, info] { return RunInfo(commandLine.global(), *info); }),
                   *info);
    auto read = std::make_shared<Options>();
    AddPortAndJson(
        commandLine.add("read",
                        "Everything the window reads: input with its wiring and sensor, divider, "
                        "shunt, range, linearization, filter, scale, error state, live values, relays",
                        [&commandLine, read] { return RunRead(commandLine.global(), *read); }),
        *read);
}
