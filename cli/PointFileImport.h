#pragma once

#include "config/PointImport.h"

#include <CLI/CLI.hpp>

#include <filesystem>
#include <optional>
#include <string>

// --order N and --spline (exclusive) and --strict on command.
void addFitChoiceOptions(CLI::App* command, FitChoice& choice);

// A path typed on the command line (UTF-8, also on Windows).
std::filesystem::path pathFromArgument(const std::string& text);

// The dialog's import of a point file: the first reading (count and x
// range), the checks of what the dialog offers (at least 3 points, orders
// 2..min(count - 1, 9), the spline up to 21 points), then the builder.
// False, with problem saying why and what to do, when the file cannot be
// read, the choice is not offered for it or the builder fails; table is
// then untouched. Every line the import skips (and the x values the spline
// merges) goes to standard error with its number; with choice.strict such a
// file is refused. check, when given, receives what was found.
bool importPointFile(const std::string& fileName, const FitChoice& choice, LinearizationTable& table,
                     PointSet& pointSet, std::string& problem, PointFileCheck* check = nullptr);
