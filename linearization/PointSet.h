#pragma once

#include "linearization/FileName.h"

#include <cstdint>

// Summary of one point file for one import: what the first reading found
// and what the user chose in the linearization dialog.
struct PointSet {
    std::int32_t count = 0;  // valid point lines, repeated x included
    float min = 0;           // smallest x
    float max = 0;           // largest x
    std::uint8_t method = 0; // 0 polynomial approximation, 1 linear spline
    std::uint8_t order = 0;  // polynomial order, 2..9
};

// First reading of a point file: count, min and max of x. A file that cannot
// be opened reads as an empty one.
void readPointSet(const FileName& fileName, PointSet& pointSet);
