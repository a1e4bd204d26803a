#pragma once

class CommandLine;

// dnx8 set PORT SETTING=VALUE...: filter, scale, error state and relays,
// written in the order given; prints what the converter echoed.
void addSetCommands(CommandLine& commandLine);
