#pragma once

#include "inputs/RtdCurve.h"

// Nickel, 5000 ppm/K: one cubic over the whole range.
class Nickel5000Rtd final : public RtdCurve {
public:
    using RtdCurve::RtdCurve;
    float ResistanceAt(float t) const override;
};
