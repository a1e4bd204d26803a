#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

// How numbers become text on screen and how typed text becomes a number
// again. Pure functions of their arguments, so they are tested natively; the
// value controls call them with their window text. Texts are UTF-8, the
// decimal point is always ".", whatever the regional settings; a length limit
// counts characters, not bytes.
namespace number_text {

// Longest text a real is shown with, and the part of an edit's text that the
// readers look at.
inline constexpr std::size_t RealTextLimit = 31;
inline constexpr std::size_t IntegerReadLimit = 15;
inline constexpr std::size_t RealReadLimit = 31;

// SetInteger: shortest decimal form, "-" in front of a negative value.
std::string IntegerText(std::int32_t value);

// SetReal: fixed point with exactly `decimals` digits after the point (none
// and no point for 0; a negative count counts as 0). The float's exact value
// is first rounded to 10 significant digits (a tie to the even digit), that
// form then to `decimals` places, half away from zero; a negative value that
// rounds to zero keeps its "-". Dropped digits of the form 4, 9..9, 8 or 9,
// one more digit round up as well (1.004999995 gives 1.01).
// At most 31 characters: a value whose whole part does not fit is shown in
// the exponent form of RealAutoText instead, so the text never shows a
// different number; only surplus decimals are cut. Infinity and not-a-number
// give "inf", "-inf" and "nan".
std::string RealText(float value, int decimals);

// SetRealAuto: 10 significant digits in exponent form, as 1.000000000E+00,
// -1.250000000E-02 (exponent signed, at least two digits).
std::string RealAutoText(float value);

// The `count` lowest hexadecimal digits of value, most significant first,
// upper case (digits above the 32 bits are 0). Empty for count <= 0.
std::string HexDigits(std::uint32_t value, int count);

// SetVersion: high byte in hexadecimal (one digit up to 9, else two), ".",
// low byte as two digits: 0x0105 gives 1.05, 0x0A10 gives 0A.10.
std::string VersionText(std::uint16_t value);

// SetRange: "-200 až 850 °C". Both numbers are shown in full.
std::string RangeText(std::int32_t min, std::int32_t max);

// GetInteger: reads the first 15 characters of text: optional blanks and
// tabs, optional sign, optional radix prefix ("$", "x", "X", "0x", "0X" hex;
// "%" binary; "&" octal), at least one digit, nothing after. A decimal value
// must fit the signed 32-bit range; a prefixed one may use all 32 bits and is
// taken as the bit pattern ("$FFFFFFFF" is -1). Anything else gives 0.
std::int32_t IntegerFromText(std::string_view text);

// GetReal: reads the first 31 characters of text: optional blanks and tabs,
// optional sign, digits with an optional "." and fraction (at least one
// digit), optional exponent ("e"/"E", optional sign, digits), nothing after;
// or the words "inf", "infinity", "nan" in any case, after an optional sign.
// Read in 80-bit precision, then rounded to float (beyond the float range:
// infinity). Anything else gives 0.0.
float RealFromText(std::string_view text);

// The same two readers, telling a text that cannot be read (nothing) from a
// text that reads as zero.
std::optional<std::int32_t> ReadInteger(std::string_view text);
std::optional<float> ReadReal(std::string_view text);

// Whether text is, as a whole, a decimal real: optional "+" or "-", digits
// with an optional "." and fraction (at least one digit in all), optional
// exponent ("e"/"E", optional sign, at least one digit). No blanks, no words.
// The grammar of GetReal and of the point file's fields alike.
bool IsDecimalReal(std::string_view text);

// Values from halfway between the largest float and 2^128 on round to
// infinity as a float; converting them is undefined in C++.
inline constexpr long double FloatRoundingLimit = 0x1.ffffffp127L;

// Whether value becomes a finite float (false for not-a-number too).
inline bool FitsFloat(long double value)
{
    return value > -FloatRoundingLimit && value < FloatRoundingLimit;
}

// The first `count` characters of a UTF-8 text (a character is a byte that
// does not continue a multi-byte sequence, with its continuation bytes).
std::string_view FirstCharacters(std::string_view text, std::size_t count);

} // namespace number_text
