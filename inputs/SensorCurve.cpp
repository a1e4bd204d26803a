#include "inputs/SensorCurve.h"

bool SensorCurve::matches(std::uint8_t reportedDegree, std::span<const float, 10> reported) const
{
    if (degree != static_cast<int>(reportedDegree))
        return false;
    for (std::size_t i = 0; i < reported.size(); ++i)
        if (!((*coefficients)[i] == reported[i]))
            return false;
    return true;
}
