#pragma once

#include "linearization/FileName.h"

class LinearizationTable;
struct PointSet;

// The second reading of a point file with the method and order chosen in
// pointSet (polynomial of that order, or linear spline), then the file's x
// range from pointSet. False when the builder fails; the table is then left
// as it was.
bool importTable(const FileName& fileName, const PointSet& pointSet, LinearizationTable& table);
