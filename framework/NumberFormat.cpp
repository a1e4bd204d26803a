#include "framework/NumberText.h"

#include <algorithm>
#include <charconv>
#include <cmath>

namespace number_text {
namespace {

constexpr int SignificantDigits = 10;
// More decimals than this would be cut away anyway.
constexpr int MaxDecimals = 2 * static_cast<int>(RealTextLimit);

// A magnitude rounded to 10 significant digits: digit i stands for
// 10^(exponent - i).
struct TenDigits {
    std::string digits;
    int exponent = 0;
};

TenDigits RoundToTenDigits(float magnitude)
{
    // The double holds the float exactly, and to_chars rounds the exact
    // value, a tie going to the even digit: "d.ddddddddde+XX".
    char buffer[32];
    const auto end = std::to_chars(buffer, buffer + sizeof buffer, static_cast<double>(magnitude),
                                   std::chars_format::scientific, SignificantDigits - 1)
                         .ptr;
    TenDigits result;
    result.digits.push_back(buffer[0]);
    result.digits.append(buffer + 2, buffer + 1 + SignificantDigits);
    const char* exponent = buffer + 2 + SignificantDigits;
    const bool negative = *exponent == '-';
    std::from_chars(exponent + 1, end, result.exponent);
    if (negative)
        result.exponent = -result.exponent;
    return result;
}

bool IsDigitIn(char c, char low, char high)
{
    return c >= low && c <= high;
}

// Rounding of the 10-digit form: half up, and the dropped digits 4, 9..9,
// 8 or 9, one more digit round up as well.
bool RoundsUp(std::string_view dropped)
{
    if (dropped.empty())
        return false;
    if (dropped[0] >= '5')
        return true;
    const std::size_t n = dropped.size();
    if (dropped[0] != '4' || n < 4 || !IsDigitIn(dropped[n - 2], '8', '9'))
        return false;
    return std::all_of(dropped.begin() + 1, dropped.end() - 2, [](char c) { return c == '9'; });
}

void AddOneToLastDigit(std::string& digits)
{
    for (auto it = digits.rbegin(); it != digits.rend(); ++it) {
        if (*it != '9') {
            ++*it;
            return;
        }
        *it = '0';
    }
    digits.insert(digits.begin(), '1');
}

const char* NonFiniteText(float value)
{
    if (std::isnan(value))
        return "nan";
    return value < 0 ? "-inf" : "inf";
}

} // namespace

std::string IntegerText(std::int32_t value)
{
    char buffer[16];
    return std::string(buffer, std::to_chars(buffer, buffer + sizeof buffer, value).ptr);
}

std::string RealText(float value, int decimals)
{
    if (!std::isfinite(value))
        return NonFiniteText(value);
    const auto places = static_cast<std::size_t>(std::clamp(decimals, 0, MaxDecimals));
    const TenDigits rounded = RoundToTenDigits(std::fabs(value));

    // Whole part, and the significant digits after the point.
    std::string whole;
    std::string fraction;
    if (rounded.exponent >= 0) {
        for (int i = 0; i <= rounded.exponent; ++i)
            whole.push_back(i < SignificantDigits ? rounded.digits[i] : '0');
        if (rounded.exponent + 1 < SignificantDigits)
            fraction = rounded.digits.substr(rounded.exponent + 1);
    } else {
        whole = "0";
        fraction = std::string(-rounded.exponent - 1, '0') + rounded.digits;
    }

    std::string digits = whole + fraction.substr(0, std::min(places, fraction.size()));
    digits.resize(whole.size() + places, '0');
    if (places < fraction.size() && RoundsUp(std::string_view(fraction).substr(places)))
        AddOneToLastDigit(digits);

    const std::size_t wholeLength = digits.size() - places;
    std::string text = value < 0 ? "-" : "";
    // Cutting digits off the whole part would show another number.
    if (text.size() + wholeLength > RealTextLimit)
        return RealAutoText(value);
    text.append(digits, 0, wholeLength);
    if (places > 0) {
        text.push_back('.');
        text.append(digits, wholeLength);
    }
    text.resize(std::min(text.size(), RealTextLimit));
    return text;
}

std::string RealAutoText(float value)
{
    if (!std::isfinite(value))
        return NonFiniteText(value);
    char buffer[32];
    const auto end = std::to_chars(buffer, buffer + sizeof buffer, static_cast<double>(std::fabs(value)),
                                   std::chars_format::scientific, SignificantDigits - 1)
                         .ptr;
    std::string text = value < 0 ? "-" : "";
    text.append(buffer, end);
    std::replace(text.begin(), text.end(), 'e', 'E');
    return text;
}

std::string HexDigits(std::uint32_t value, int count)
{
    static constexpr char Digits[] = "0123456789ABCDEF";
    std::string text;
    for (int i = count - 1; i >= 0; --i)
        text.push_back(i < 8 ? Digits[(value >> (4 * i)) & 0xF] : '0');
    return text;
}

std::string VersionText(std::uint16_t value)
{
    const unsigned major = value >> 8;
    const unsigned minor = value & 0xFF;
    return HexDigits(major, major <= 9 ? 1 : 2) + "." + HexDigits(minor, 2);
}

std::string RangeText(std::int32_t min, std::int32_t max)
{
    // At most 29 characters: within the 31 of a field.
    return IntegerText(min) + " až " + IntegerText(max) + " °C";
}

} // namespace number_text
