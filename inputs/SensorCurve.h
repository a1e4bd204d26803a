#pragma once

#include "framework/BaseObject.h"

#include <array>
#include <cstdint>
#include <span>

// A built-in sensor characteristic, owned by a SensorCatalog. Every curve
// carries its display name and the polynomial with its degree that the tool
// writes to CurveCoefficients/CurveDegree: t(R) for an RTD, the cold-junction
// E(R) for a thermocouple. Converters are recognised by exact comparison of
// that polynomial, so its floats must never change by a bit.
class SensorCurve : public BaseObject {
public:
    using Coefficients = std::array<float, 10>;

    // Display text (UTF-8): list entry and main-window description.
    const char* name() const { return displayName; }
    int curveDegree() const { return degree; }
    const Coefficients& curveCoefficients() const { return *coefficients; }

    // Same degree and c0..c9 equal as floats: +0 matches -0, NaN never matches.
    bool matches(std::uint8_t reportedDegree, std::span<const float, 10> reported) const;

protected:
    // The texts and tables are static constants shared by every instance.
    SensorCurve(const char* name, int polynomialDegree, const Coefficients& polynomial)
        : displayName(name), degree(polynomialDegree), coefficients(&polynomial)
    {
    }

private:
    const char* displayName;
    int degree;
    const Coefficients* coefficients;
};
