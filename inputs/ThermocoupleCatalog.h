#pragma once

#include "inputs/SensorCatalog.h"
#include "inputs/ThermocoupleCurve.h"

// The nine built-in thermocouples, types B, E, J, K, L, N, R, S, T.
class ThermocoupleCatalog : public SensorCatalog {
public:
    static constexpr int DefaultIndex = 2; // type J

    ThermocoupleCatalog();

    const ThermocoupleCurve* At(int index) const
    {
        return static_cast<const ThermocoupleCurve*>(SensorCatalog::At(index));
    }
    // The type a converter is configured for, from the cold-junction
    // polynomial it reports; null when it is none of the built-in types.
    const ThermocoupleCurve* FindByPolynomial(std::uint8_t degree,
                                              std::span<const float, 10> coefficients) const
    {
        return static_cast<const ThermocoupleCurve*>(findCurve(degree, coefficients));
    }
};
