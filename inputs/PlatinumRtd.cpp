#include "inputs/PlatinumRtd.h"

float PlatinumRtd::ResistanceAt(float t) const
{
    constexpr double A = 3.9083e-3;
    constexpr double B = -5.775e-7;
    constexpr double C = -4.183e-12;
    const double x = t;
    // The cubic term applies below 0 degrees only; NaN takes the plain branch.
    if (!(x < 0.0))
        return static_cast<float>(r0() * (1.0 + A * x + B * x * x));
    return static_cast<float>(r0() * (1.0 + A * x + B * x * x + C * (x - 100.0) * x * x * x));
}
