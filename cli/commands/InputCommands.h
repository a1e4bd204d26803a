#pragma once

class CommandLine;

// dnx8 input PORT KIND [OPTIONS]: configures the input with the dialogs'
// write sequences (voltage, current, resistance, potentiometer, rtd,
// thermocouple), then reads the input back and compares.
void addInputCommands(CommandLine& commandLine);
