#include "inputs/Nickel6180Rtd.h"

float Nickel6180Rtd::ResistanceAt(float t) const
{
    constexpr double A = 5.485e-3;
    constexpr double B = 6.65e-6;
    constexpr double D = 2.805e-11;
    constexpr double F = -2.0e-17;
    const double x = t;
    const double x2 = x * x;
    return static_cast<float>(r0() * (1.0 + A * x + B * x2 + D * x2 * x2 + F * x2 * x2 * x2));
}
