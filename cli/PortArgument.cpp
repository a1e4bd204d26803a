#include "cli/PortArgument.h"

#include "cli/ExitCode.h"
#include "cli/Failure.h"
#include "device/PortAddress.h"

namespace {

bool valuesValid(const CLI::App& command)
{
    for (const CLI::Option* option : command.get_options()) {
        const std::string& name = option->get_name();
        if (name != "PORT" && name != "SOURCE")
            continue;
        for (const std::string& value : option->results()) {
            if (value.find("://") == std::string::npos)
                continue;
            PortAddress address;
            std::string error;
            if (!parsePortAddress(value, address, error)) {
                fail(exit_code::BadUsage, "bad port address " + value + ": " + error +
                                              ". Write tcp://HOST:PORT or rfc2217://HOST:PORT.");
                return false;
            }
        }
    }
    for (const CLI::App* sub : command.get_subcommands())
        if (!valuesValid(*sub))
            return false;
    return true;
}

} // namespace

bool portArgumentsValid(const CLI::App& parser)
{
    return valuesValid(parser);
}
