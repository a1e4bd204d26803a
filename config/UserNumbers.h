#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

// Numbers typed on the command line. The decimal point is always "." and
// the whole text must be the number: "12,5", "12.5V" or an empty text are
// refused, never read as a part of them.

// A finite real, correctly rounded to float: optional "-", digits with an
// optional "." and fraction, an optional exponent ("1e3").
std::optional<float> readUserReal(std::string_view text);
// A whole number in low..high, decimal digits only.
std::optional<std::int64_t> readUserInteger(std::string_view text, std::int64_t low, std::int64_t high);

// Why text is no real (empty when it is one), said so the user can fix it.
std::string realProblem(std::string_view text);
std::string integerProblem(std::string_view text, std::int64_t low, std::int64_t high);
