#pragma once

#include "framework/OwningCollection.h"
#include "inputs/SensorCurve.h"

#include <cstdint>
#include <span>

// A fixed list of built-in sensor curves; list positions in the dialogs are
// catalog indices. Filled once by the derived catalog's constructor; it
// cannot grow.
class SensorCatalog : public OwningCollection<SensorCurve> {
protected:
    explicit SensorCatalog(int capacity) : OwningCollection<SensorCurve>(capacity, 0) {}

    // First curve from index 0 whose degree and c0..c9 equal what a
    // converter reports; null when none does.
    const SensorCurve* findCurve(std::uint8_t degree, std::span<const float, 10> coefficients) const;
};
