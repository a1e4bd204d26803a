#pragma once

#include "config/Json.h"

#include <ostream>

class CommandLine;
class LinearizationTable;
struct PointSet;

// dnx8 fit FILE [--order N | --spline] [--json]: the import's builders on a
// point file, without a converter.
void addFitCommands(CommandLine& commandLine);

// {"method": "polynomial", "degree", "coefficients": [b0..b9], "min", "max",
// "points"} or {"method": "spline", "segments": [{a0, a1, a2, a3, x0}...],
// "min", "max", "points"}.
Json fitJson(const LinearizationTable& table, const PointSet& pointSet);
// The same for people, with the dialog's texts.
void printFitText(std::ostream& out, const LinearizationTable& table, const PointSet& pointSet);
