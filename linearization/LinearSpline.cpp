#include "linearization/LinearSpline.h"

#include "linearization/FloatRange.h"
#include "linearization/LinearizationTable.h"
#include "linearization/PointReader.h"

void LinearSpline::addPoint(double x, double y)
{
    if (count >= MaxSplinePoints)
        return;
    int index = 0;
    if (find(x, index))
        return;
    insert(index, x, y);
}

bool LinearSpline::find(double x, int& index) const
{
    int lo = 0;
    int hi = count - 1;
    bool found = false;
    while (lo <= hi) {
        const int mid = (lo + hi) / 2;
        const double d = points[mid].x - x;
        if (d < 0) {
            lo = mid + 1;
        } else {
            hi = mid - 1;
            if (d == 0) {
                found = true;
                lo = mid;
            }
        }
    }
    index = lo;
    return found;
}

void LinearSpline::insert(int index, double x, double y)
{
    if (index < 0 || index > count || count >= MaxSplinePoints)
        return;
    for (int i = count; i > index; --i)
        points[i] = points[i - 1];
    points[index] = SplinePoint{x, y};
    ++count;
}

bool importSpline(const FileName& fileName, LinearizationTable& table)
{
    PointReader reader;
    if (!reader.open(fileName))
        return false;
    LinearSpline spline;
    double x = 0;
    double y = 0;
    while (reader.nextPoint(x, y))
        spline.addPoint(x, y);
    if (spline.count == 0)
        return false;

    // Built aside and copied only when every slope fits: a failed import keeps the table whole.
    LinearSegment segments[MaxSegments] = {};
    const int segmentCount = spline.count - 1;
    for (int i = 0; i < segmentCount; ++i) {
        const SplinePoint& p = spline.points[i];
        const SplinePoint& q = spline.points[i + 1];
        const long double slope =
            (static_cast<long double>(q.y) - p.y) / (static_cast<long double>(q.x) - p.x);
        if (!fitsFloat(slope))
            return false;
        segments[i] =
            LinearSegment{static_cast<float>(p.y), static_cast<float>(slope), 0, 0, static_cast<float>(p.x)};
    }
    table.clear();
    for (int i = 0; i < segmentCount; ++i)
        table.segments[i] = segments[i];
    table.segmentCount = segmentCount;
    return true;
}
