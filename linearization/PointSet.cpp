#include "linearization/PointSet.h"

#include "linearization/PointReader.h"

void readPointSet(const FileName& fileName, PointSet& pointSet)
{
    pointSet = PointSet{};
    PointReader reader;
    if (!reader.open(fileName))
        return;
    // Compared in double precision; only the result is narrowed.
    double min = 0;
    double max = 0;
    double x = 0;
    double y = 0;
    std::int32_t count = 0;
    while (reader.nextPoint(x, y)) {
        if (count == 0) {
            min = x;
            max = x;
        } else {
            if (x < min)
                min = x;
            if (x > max)
                max = x;
        }
        if (count < INT32_MAX)
            ++count;
    }
    pointSet.count = count;
    pointSet.min = static_cast<float>(min);
    pointSet.max = static_cast<float>(max);
}
