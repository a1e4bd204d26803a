#include "inputs/Nickel5000Rtd.h"

float Nickel5000Rtd::ResistanceAt(float t) const
{
    constexpr double A = 4.427e-3;
    constexpr double B = 5.172e-6;
    constexpr double C = 5.585e-9;
    const double x = t;
    return static_cast<float>(r0() * (1.0 + A * x + B * x * x + C * x * x * x));
}
