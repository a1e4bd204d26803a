#pragma once

#include "linearization/LinearizationTable.h"
#include "linearization/PointSet.h"

#include <CLI/CLI.hpp>

#include <filesystem>
#include <optional>
#include <string>

// What the linearization dialog lets the user choose for a point file:
// a polynomial of some order, or the linear spline.
struct FitChoice {
    std::optional<int> order; // the dialog's preselected order when empty
    bool spline = false;
};

// --order N and --spline (exclusive) on command.
void addFitChoiceOptions(CLI::App* command, FitChoice& choice);

// A path typed on the command line (UTF-8, also on Windows).
std::filesystem::path pathFromArgument(const std::string& text);

// The dialog's import of a point file: the first reading (count and x
// range), the checks of what the dialog offers (at least 3 points, orders
// 2..min(count - 1, 9), the spline up to 21 points), then the builder.
// False, with problem saying why and what to do, when the file cannot be
// read, the choice is not offered for it or the builder fails; table is
// then untouched.
bool importPointFile(const std::string& fileName, const FitChoice& choice, LinearizationTable& table,
                     PointSet& pointSet, std::string& problem);
