#pragma once

#include "inputs/RtdCurve.h"

// Platinum, alpha 0.00385 (IEC 60751 equation).
class PlatinumRtd final : public RtdCurve {
public:
    using RtdCurve::RtdCurve;
    float ResistanceAt(float t) const override;
};
