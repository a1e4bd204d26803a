#pragma once

#include "linearization/LinearSpline.h"
#include "linearization/PolynomialFit.h"

#include <algorithm>

// What the linearization dialog offers for a point file of count valid
// points, for the window and the command line alike.
namespace fit_offer {

// The lowest order offered is 2, which needs three points.
inline constexpr int LowestOrder = 2;
inline constexpr int MinImportPoints = 3;
inline constexpr int DefaultOrder = 5;

// n points determine a polynomial of order n - 1 at most.
constexpr int highestOrder(int count)
{
    return std::min(count - 1, MaxPolynomialDegree);
}

constexpr int preselectedOrder(int count)
{
    return std::min(highestOrder(count), DefaultOrder);
}

// A spline keeps at most MaxSplinePoints points; more would be dropped.
constexpr bool splineOffered(int count)
{
    return count <= MaxSplinePoints;
}

} // namespace fit_offer
