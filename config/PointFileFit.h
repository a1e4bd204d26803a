#pragma once

#include "linearization/LinearizationTable.h"
#include "linearization/PointFileCheck.h"
#include "linearization/PointSet.h"

#include <filesystem>
#include <optional>
#include <string>
#include <string_view>

// What the linearization dialog lets the user choose for a point file:
// a polynomial of some order, or the linear spline.
struct FitChoice {
    std::optional<int> order; // the dialog's preselected order when empty
    bool spline = false;
    bool strict = false; // refuse a file with skipped lines or repeated x
};

// The dialog's import of the point file at path (named `name` in problems):
// the first reading (count and x range), the checks of what the dialog
// offers (at least 3 points, orders 2..min(count - 1, 9), the spline up to
// 21 points), then the builder. check receives the lines the import skips
// and the x values the spline merges, also when it fails. False, with
// problem saying why and what to do, when the choice is not offered for the
// file, --strict refuses it or the builder fails; table is then untouched.
bool fitPointFile(const std::filesystem::path& path, const std::string& name, const FitChoice& choice,
                  LinearizationTable& table, PointSet& pointSet, PointFileCheck& check, std::string& problem);

// The same for a point file's text (an upload): it is read from a private
// temporary folder of the program's own naming, removed afterwards.
bool fitPointText(std::string_view text, const std::string& name, const FitChoice& choice,
                  LinearizationTable& table, PointSet& pointSet, PointFileCheck& check, std::string& problem);
