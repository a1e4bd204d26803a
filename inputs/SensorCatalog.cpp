#include "inputs/SensorCatalog.h"

const SensorCurve* SensorCatalog::findCurve(std::uint8_t degree,
                                            std::span<const float, 10> coefficients) const
{
    for (int i = 0; i < Count(); ++i)
        if (const SensorCurve* curve = At(i); curve->matches(degree, coefficients))
            return curve;
    return nullptr;
}
