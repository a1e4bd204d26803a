#pragma once

class CommandLine;

// dnx8 restore PORT FILE [--dry-run] [--keep-linearization | --linearization
// POINTS [--order N | --spline]]: a backup written into a converter, then
// read back and compared.
void addRestoreCommands(CommandLine& commandLine);
