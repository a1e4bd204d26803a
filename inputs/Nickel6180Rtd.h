#pragma once

#include "inputs/RtdCurve.h"

// Nickel, 6180 ppm/K (DIN 43760 form, no cubic term).
class Nickel6180Rtd final : public RtdCurve {
public:
    using RtdCurve::RtdCurve;
    float ResistanceAt(float t) const override;
};
