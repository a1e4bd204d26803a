#include "cli/commands/PortsCommands.h"

#include "cli/CommandLine.h"
#include "cli/ExitCode.h"
#include "device/PortList.h"
#include "device/PortNameList.h"

#include <iostream>

namespace {

int listPorts()
{
    PortNameList ports;
    FillPortList(ports);
    for (int i = 0; i < ports.Count(); ++i)
        std::cout << ports.StringAt(i) << '\n';
    return exit_code::Done;
}

} // namespace

void addPortsCommands(CommandLine& commandLine)
{
    commandLine.add("ports", "List the serial ports, one per line (the list config.exe offers)", listPorts);
}
