#pragma once

#include "linearization/LineReader.h"

// The valid points of a point file, in file order: comment lines (empty or
// starting with ";") and lines whose first two fields are not both numbers
// are skipped; anything after the second field is ignored.
class PointReader {
public:
    bool open(const FileName& fileName);
    // x and y of the next valid line; false at the end of the file.
    bool nextPoint(double& x, double& y);

private:
    LineReader lines;
};
