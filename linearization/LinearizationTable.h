#pragma once

#include "framework/BaseObject.h"
#include "linearization/PolynomialFit.h"

#include <cstdint>

class ConverterLink;
class WaitCursorHook;

inline constexpr int MaxSegments = 20;

// One spline segment in the order the converter receives it:
// y = a0 + a1 (x - x0) from x0 on; a2 and a3 are always 0 here.
struct LinearSegment {
    float a0 = 0;
    float a1 = 0;
    float a2 = 0;
    float a3 = 0;
    float x0 = 0;
};

// The user linearization last imported from a point file: up to 20 spline
// segments or one polynomial (at most one of the counts is non-zero), and the
// x range of the file. Kept by the main window for its whole life.
class LinearizationTable : public BaseObject {
public:
    // Empties segments, coefficients and both counts; min and max stay.
    void clear();
    bool hasContent() const { return segmentCount != 0 || polynomialDegree != 0; }
    // Sends the range and then the active form to the converter. Every write
    // is made whatever the previous ones returned; the table is not changed.
    // waitCursor, when given, is shown while the segments are written.
    // True when the converter answered every write.
    bool upload(ConverterLink& link, WaitCursorHook* waitCursor = nullptr) const;

    LinearSegment segments[MaxSegments] = {};
    float coefficients[MaxPolynomialDegree + 1] = {};
    float min = 0;
    float max = 0;
    std::int32_t segmentCount = 0;
    std::int32_t polynomialDegree = 0;
};
