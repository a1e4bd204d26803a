#include "cli/CommandLine.h"

#include "cli/ExitCode.h"
#include "cli/PortArgument.h"
#include "dnx8_version.h"

CommandLine::CommandLine()
    : parser("Configures a DNX8 converter over a serial port: reads it, watches its live values, "
             "writes settings and inputs with the same frames as config.exe.",
             "dnx8")
{
    parser.set_version_flag("--version", std::string("dnx8 ") + DNX8_VERSION_TEXT, "Print the version and exit");
    parser.add_flag("--trace", options.trace, "Print every frame in hex with a time stamp on standard error");
    parser
        .add_option("--timeout", options.timeoutMs,
                    "Wait up to MS milliseconds for each reply instead of 200 (a converter behind a slow "
                    "network or a device server)")
        ->option_text("MS")
        ->check(CLI::Range(200, 60000));
    parser.require_subcommand(1);
    // Global options may also follow the command: dnx8 read PORT --trace.
    parser.fallthrough();
    parser.footer("Exit codes: 0 done; 1 the port or the converter failed; 2 bad usage or input, nothing "
                  "sent; 3 the converter holds something other than what was asked.\n"
                  "Run dnx8 COMMAND --help for the options of a command.");
}

CLI::App* CommandLine::add(const std::string& name, const std::string& description, std::function<int()> work)
{
    return add(parser, name, description, std::move(work));
}

CLI::App* CommandLine::addGroup(const std::string& name, const std::string& description)
{
    CLI::App* group = parser.add_subcommand(name, description);
    group->fallthrough();
    group->require_subcommand(1);
    return group;
}

CLI::App* CommandLine::add(CLI::App& parent, const std::string& name, const std::string& description,
                           std::function<int()> work)
{
    CLI::App* command = parent.add_subcommand(name, description);
    command->fallthrough();
    command->callback([this, work = std::move(work)] { chosen = work; });
    return command;
}

int CommandLine::run(const std::vector<std::string>& arguments)
{
    std::vector<const char*> argv;
    for (const std::string& argument : arguments)
        argv.push_back(argument.c_str());
    try {
        parser.parse(static_cast<int>(argv.size()), argv.data());
    } catch (const CLI::ParseError& error) {
        return parser.exit(error) == 0 ? exit_code::Done : exit_code::BadUsage;
    }
    if (chosen && !portArgumentsValid(parser))
        return exit_code::BadUsage;
    return chosen ? chosen() : exit_code::BadUsage;
}
