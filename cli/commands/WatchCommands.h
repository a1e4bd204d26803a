#pragma once

class CommandLine;

// dnx8 watch PORT [--interval S] [--count N] [--csv]: the four live values
// every S seconds with their fault texts, as text or as CSV for logging.
void addWatchCommands(CommandLine& commandLine);
