#pragma once

class CommandLine;

// dnx8 ports: the serial ports, one per line, as the window lists them.
void addPortsCommands(CommandLine& commandLine);
