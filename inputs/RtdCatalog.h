#pragma once

#include "inputs/RtdCurve.h"
#include "inputs/SensorCatalog.h"

// The six built-in resistance thermometers, "Pt 100 (3850)" first.
class RtdCatalog : public SensorCatalog {
public:
    static constexpr int DefaultIndex = 0; // "Pt 100 (3850)"

    RtdCatalog();

    const RtdCurve* At(int index) const { return static_cast<const RtdCurve*>(SensorCatalog::At(index)); }
    // The type a converter is configured for, from its CurveDegree and
    // CurveCoefficients; null when it is none of the built-in types.
    const RtdCurve* FindByPolynomial(std::uint8_t degree, std::span<const float, 10> coefficients) const
    {
        return static_cast<const RtdCurve*>(findCurve(degree, coefficients));
    }
};
