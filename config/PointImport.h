#pragma once

#include "linearization/LinearizationTable.h"
#include "linearization/PointFileCheck.h"
#include "linearization/PointSet.h"

#include <filesystem>
#include <optional>
#include <string>

// What the linearization dialog lets the user choose for a point file:
// a polynomial of some order, or the linear spline.
struct FitChoice {
    std::optional<int> order; // the dialog's preselected order when empty
    bool spline = false;
    bool strict = false; // refuse a file with skipped lines or repeated x
};

// How a front end names the choices in its messages: "--order N" and
// "--strict" on the command line, "order" in the served API.
struct FitChoiceWords {
    std::string order = "--order";
    std::string strict = "--strict";
};

// The dialog's import of a point file, after the file's own checks: what the
// import leaves out (into check, whenever the file could be read), the first
// reading (count and x range), what the dialog offers (at least 3 points,
// orders 2..min(count - 1, 9), the spline up to 21 points), then the
// builder. False, with problem saying why and what to do, when the file
// cannot be read, choice.strict refuses it, the choice is not offered for it
// or the builder fails; table is then untouched. shownName names the file in
// the problem.
bool importPoints(const std::filesystem::path& path, const std::string& shownName, const FitChoice& choice,
                  const FitChoiceWords& words, LinearizationTable& table, PointSet& pointSet,
                  PointFileCheck& check, std::string& problem);

// The spline merges repeated x only when it is chosen.
bool mergesRepeatedX(const PointFileCheck& check, const FitChoice& choice);
