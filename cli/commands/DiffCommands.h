#pragma once

class CommandLine;

// dnx8 diff PORT FILE and dnx8 diff FILE FILE: every differing parameter of
// the configuration; identity, firmware and serial number shown, not counted.
void addDiffCommands(CommandLine& commandLine);
