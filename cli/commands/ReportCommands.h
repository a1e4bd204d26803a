#pragma once

class CommandLine;

// dnx8 report PORT [-o FILE.html] [--linearization POINTS [--order N |
// --spline]]: the commissioning record of a converter as one HTML page.
void addReportCommands(CommandLine& commandLine);
