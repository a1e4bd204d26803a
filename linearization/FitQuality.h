#pragma once

#include <filesystem>
#include <optional>
#include <vector>

class LinearizationTable;

// How far a fit lies from the points of its file.
struct ResidualFigures {
    double maxResidual = 0;   // largest |fit(x) - y|
    double maxResidualAt = 0; // the x of the first point where it occurs
    double rmsResidual = 0;
};

enum class FitMethod { Polynomial, Spline };

// One choice the linearization dialog offers for a file.
struct FitQualityEntry {
    FitMethod method = FitMethod::Polynomial;
    int degree = 0; // the polynomial's order; 0 for the spline
    // What the converter computes: the float32 coefficients or segments as
    // the import builds them, evaluated in double. Empty when the import
    // refuses this choice.
    std::optional<ResidualFigures> sent;
    // The 80-bit solution of the normal equations (for the spline: straight
    // lines through the kept points in 80 bits). Empty when it has none.
    std::optional<ResidualFigures> exact;
    // Float32 coefficients lose what the 80-bit solution has: the sent
    // largest residual is more than twice the 80-bit one and above the
    // rounding level.
    bool float32Warning = false;
    // A lower order whose sent largest residual is at least as small; 0 when
    // this order is better than all lower ones.
    int noBetterThan = 0;
};

struct FitQualityReport {
    int count = 0; // valid points of the file
    float min = 0; // x range, as the import stores it
    float max = 0;
    double yMin = 0;
    double yMax = 0;
    // Four float32 steps of the largest |y|: residuals below it are rounding,
    // and count as equal when orders are compared.
    double roundingLevel = 0;
    int preselectedOrder = 0; // what the dialog selects first
    // The lowest order whose sent largest residual is within 10 % of the best
    // order's; 0 when no order could be built.
    int recommendedOrder = 0;
    // Orders 2..min(count - 1, 9), then the spline where it is offered.
    std::vector<FitQualityEntry> entries;
};

// Fits every choice the dialog offers for the file and measures each against
// the file's points. False when the file has fewer points than an import
// needs (also when it cannot be opened).
bool assessFit(const std::filesystem::path& fileName, FitQualityReport& report);

// The value of a table's active form at x, computed in double from its
// float32 values as they are sent: the polynomial, or the segment whose x0
// is the largest at or below x (the first one below the first x0). 0 for an
// empty table.
double tableValueAt(const LinearizationTable& table, double x);
