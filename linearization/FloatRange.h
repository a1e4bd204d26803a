#pragma once

// Whether a value can be stored as a float32 without becoming infinite:
// everything below the midpoint between FLT_MAX and 2^128 rounds to a finite
// float. Checked before every narrowing, which would be undefined beyond it.
inline constexpr long double FloatRoundingLimit = 0x1.ffffffp127L;

inline bool fitsFloat(long double value)
{
    return value > -FloatRoundingLimit && value < FloatRoundingLimit; // false for NaN too
}
