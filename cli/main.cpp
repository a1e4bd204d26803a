// dnx8: the command-line companion of config.exe.
#include "cli/CommandLine.h"
#include "cli/Console.h"

#include <string>
#include <vector>

// The command families, in the order `dnx8 --help` lists them. Adding a
// family is one line here: FAMILY(Name) calls AddNameCommands, which
// cli/NameCommands.cpp defines to add its subcommands.
// clang-format off
#define DNX8_COMMAND_FAMILIES(FAMILY) \
    FAMILY(Ports) \
    FAMILY(Info) \
    FAMILY(Watch) \
    FAMILY(Set) \
    FAMILY(Input) \
    FAMILY(Fit) \
    FAMILY(Report) \
    FAMILY(Backup) \
    FAMILY(Restore) \
    FAMILY(Diff)
// clang-format on

#define DNX8_DECLARE_FAMILY(name) void Add##name##Commands(CommandLine& commandLine);
DNX8_COMMAND_FAMILIES(DNX8_DECLARE_FAMILY)

namespace {

int RunDnx8(const std::vector<std::string>& arguments)
{
    Console console;
    CommandLine commandLine;
#define DNX8_ADD_FAMILY(name) Add##name##Commands(commandLine);
    DNX8_COMMAND_FAMILIES(DNX8_ADD_FAMILY)
    return commandLine.run(arguments);
}

} // namespace

#if defined(_WIN32)
int wmain(int argc, wchar_t** argv)
{
    return RunDnx8(Utf8Arguments(argc, argv));
}
#else
int main(int argc, char** argv)
{
    return RunDnx8(std::vector<std::string>(argv, argv + argc));
}
#endif
