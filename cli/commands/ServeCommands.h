#pragma once

class CommandLine;

// serve: the page and the API of server/ for the converters on the given
// ports and any the page connects.
void addServeCommands(CommandLine& commandLine);
