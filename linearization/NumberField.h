#pragma once

#include <string_view>

// Reads one blank-separated field of a point line at the cursor and moves
// the cursor behind it. The field must be, as a whole, a decimal real:
// [+|-] digits [. digits] [(E|e) [+|-] digits], at least one mantissa digit,
// "." as the only decimal separator. A field that is empty, malformed, or
// whose value cannot be held as a float32 fails and leaves value untouched.
bool parseNumber(std::string_view& cursor, double& value);
