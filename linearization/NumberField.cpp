#include "linearization/NumberField.h"

#include "framework/NumberText.h"

#include <algorithm>
#include <charconv>
#include <climits>
#include <cstddef>
#include <system_error>

namespace {

bool isBlank(char c)
{
    return c == ' ' || c == '\t';
}

// Whether a decimal real outside the double range lies above it rather than
// below it: the place of its first non-zero digit plus its exponent tells.
bool isAboveDoubleRange(std::string_view field)
{
    const std::size_t e = field.find_first_of("eE");
    const std::string_view mantissa = field.substr(0, e);
    const std::size_t first = mantissa.find_first_of("123456789");
    if (first == std::string_view::npos)
        return false;
    const std::size_t point = std::min(mantissa.find('.'), mantissa.size());
    const long long place = static_cast<long long>(point) - static_cast<long long>(first);
    long long exponent = 0;
    if (e != std::string_view::npos) {
        std::string_view digits = field.substr(e + 1);
        if (digits.front() == '+')
            digits.remove_prefix(1);
        const char* last = digits.data() + digits.size();
        if (std::from_chars(digits.data(), last, exponent).ec != std::errc())
            exponent = digits.front() == '-' ? LLONG_MIN : LLONG_MAX;
        // Far beyond any length of digits, and safe to add to place.
        exponent = std::clamp(exponent, LLONG_MIN / 2, LLONG_MAX / 2);
    }
    return place + exponent > 0;
}

bool convertField(std::string_view field, double& value)
{
    if (!number_text::IsDecimalReal(field))
        return false;
    // from_chars takes no "+"; the sign is put back after the conversion so
    // that a value below the double range keeps it on its zero.
    const bool negative = field.front() == '-';
    if (negative || field.front() == '+')
        field.remove_prefix(1);
    double result = 0;
    const char* last = field.data() + field.size();
    const auto [ptr, ec] = std::from_chars(field.data(), last, result, std::chars_format::general);
    if (ec == std::errc::result_out_of_range) {
        if (isAboveDoubleRange(field))
            return false; // beyond the double range, so beyond float's too
        result = 0;       // below the smallest subnormal: rounds to zero
    } else if (ec != std::errc() || ptr != last) {
        return false;
    }
    if (negative)
        result = -result;
    if (!number_text::FitsFloat(result))
        return false;
    value = result;
    return true;
}

} // namespace

bool parseNumber(std::string_view& cursor, double& value)
{
    std::size_t start = 0;
    while (start < cursor.size() && isBlank(cursor[start]))
        ++start;
    std::size_t stop = start;
    while (stop < cursor.size() && !isBlank(cursor[stop]))
        ++stop;
    const std::string_view field = cursor.substr(start, stop - start);
    cursor.remove_prefix(stop);
    return convertField(field, value);
}
