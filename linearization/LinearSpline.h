#pragma once

#include "framework/BaseObject.h"
#include "linearization/FileName.h"

class LinearizationTable;

inline constexpr int MaxSplinePoints = 21;

struct SplinePoint {
    double x = 0;
    double y = 0;
};

// Up to 21 points kept sorted by strictly increasing x; neighbouring points
// become the segments of a linear spline.
class LinearSpline : public BaseObject {
public:
    // Ignored when the list is full or x is present already: the first point
    // with a given x stays, and the limit applies in the order points come.
    void addPoint(double x, double y);
    // Binary search: index receives the position of x, or where x would go.
    bool find(double x, int& index) const;
    // Ignored for an index outside 0..count or when the list is full.
    void insert(int index, double x, double y);

    SplinePoint points[MaxSplinePoints] = {};
    int count = 0;
};

// Second reading of a point file into segments. False when the file cannot be
// opened, holds no point, or a slope does not fit a float32; the table is then
// left as it was. A single point gives an empty table.
bool importSpline(const FileName& fileName, LinearizationTable& table);
