#pragma once

class CommandLine;

// dnx8 doctor [PORT]: why a port cannot be used and how to fix it, and
// whether a DNX8 answers there.
void addDoctorCommands(CommandLine& commandLine);
