#pragma once

#include <cstddef>
#include <string_view>

// Reads one blank-separated field of a point line at the cursor and moves
// the cursor behind it. The field must be, as a whole, a decimal real:
// [+|-] digits [. digits] [(E|e) [+|-] digits], at least one mantissa digit,
// "." as the only decimal separator. A field that is empty, malformed, or
// whose value cannot be held as a float32 fails and leaves value untouched.
bool parseNumber(std::string_view& cursor, double& value);

// Bytes behind the end of a line that parsePointPadded may read (never use).
inline constexpr std::size_t FieldPadding = 32;

// Both fields of a point line, read as parseNumber reads them, from a line
// whose storage stays readable for FieldPadding bytes behind end (as the line
// reader's does), which spares parseNumber's copy near the end of a line.
// True when the first two fields are numbers, which go to x and y (either
// may be written when the line fails).
bool parsePointPadded(const char* cursor, const char* end, double& x, double& y);
