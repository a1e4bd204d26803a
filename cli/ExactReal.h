#pragma once

#include <optional>

// float32 values in JSON numbers. A JSON reader turns a number into a
// double; the value written is chosen so that this double narrows to the
// same float again, bit for bit.
namespace exact_real {

// The double to put into a JSON document for value: the one nearest to the
// float's shortest decimal form, so that the file shows that form ("0.1",
// not 0.10000000149011612). Where reading that form back would give another
// float (a decimal on the boundary between two floats, rounded twice), the
// float's own value instead, which needs up to 17 digits. Empty for NaN and
// infinities: JSON has no number for them (and for a value that a broken
// platform reader could not give back at all).
std::optional<double> toJson(float value);

// The float nearest to a number read from JSON; empty when the number lies
// beyond the float range (it would become infinite).
std::optional<float> fromJson(double value);

} // namespace exact_real
