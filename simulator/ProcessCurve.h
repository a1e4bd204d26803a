#pragma once

#include "simulator/ParameterMemory.h"

namespace sim {

// Resistance of the converter's cold-junction Pt 100 (25 °C), the x at
// which thermocouple inputs evaluate the cold-junction polynomial.
inline constexpr double ColdJunctionOhms = 109.73;

// The process value the converter derives from an input value with the
// linearization it holds: the segment table when SegmentCount is set, else
// the polynomial when CurveDegree is set (for thermocouple inputs the
// polynomial gives the cold-junction EMF and the EmfRange pieces the
// temperature), else the input itself.
double ProcessOf(const ParameterMemory& memory, double input);

} // namespace sim
