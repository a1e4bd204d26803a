#include "linearization/NumberField.h"

#include "linearization/FloatRange.h"

#include <charconv>
#include <cstdint>
#include <system_error>

namespace {

bool isBlank(char c)
{
    return c == ' ' || c == '\t';
}

bool isDigit(char c)
{
    return c >= '0' && c <= '9';
}

// Grammar check of a whole field. magnitude receives the decimal exponent of
// its leading non-zero digit (saturated), which tells an overflow from an
// underflow when the conversion reports the value out of range.
bool isDecimalReal(std::string_view field, long& magnitude)
{
    std::size_t i = 0;
    const std::size_t n = field.size();
    if (i < n && (field[i] == '+' || field[i] == '-'))
        ++i;
    long lead = 0;
    bool seenNonZero = false;
    std::size_t digits = 0;
    for (; i < n && isDigit(field[i]); ++i, ++digits) {
        if (seenNonZero)
            ++lead;
        else if (field[i] != '0') {
            seenNonZero = true;
            lead = 0;
        }
    }
    if (i < n && field[i] == '.') {
        ++i;
        for (; i < n && isDigit(field[i]); ++i, ++digits) {
            if (!seenNonZero) {
                --lead;
                if (field[i] != '0')
                    seenNonZero = true;
            }
        }
    }
    if (digits == 0)
        return false;
    long exponent = 0;
    if (i < n && (field[i] == 'e' || field[i] == 'E')) {
        ++i;
        bool negative = false;
        if (i < n && (field[i] == '+' || field[i] == '-'))
            negative = field[i++] == '-';
        if (i == n || !isDigit(field[i]))
            return false;
        for (; i < n && isDigit(field[i]); ++i)
            if (exponent < 100000)
                exponent = exponent * 10 + (field[i] - '0');
        if (negative)
            exponent = -exponent;
    }
    magnitude = lead + exponent;
    return i == n;
}

// The general road: grammar check, then a correctly rounded conversion.
bool convertField(std::string_view field, double& value)
{
    long magnitude = 0;
    if (!isDecimalReal(field, magnitude))
        return false;
    // from_chars takes no "+" sign; the grammar is already checked.
    const char* first = field.data();
    const char* last = first + field.size();
    const bool negative = *first == '-';
    if (*first == '+' || negative)
        ++first;
    double result = 0;
    const auto [ptr, ec] = std::from_chars(first, last, result, std::chars_format::general);
    if (ec == std::errc::result_out_of_range) {
        if (magnitude > 0)
            return false; // beyond the double range, so beyond float's too
        result = 0;       // below the smallest subnormal: rounds to zero
    } else if (ec != std::errc() || ptr != last) {
        return false;
    }
    if (negative)
        result = -result;
    if (!fitsFloat(result))
        return false;
    value = result;
    return true;
}

// The road of nearly every field of a real file: at most 19 digits, a value
// of at most 2^53 in them and a small decimal exponent. The digits then make
// an exact double and a power of ten up to 1e22 is exact too, so one
// multiplication or division rounds correctly. Anything else, or anything
// malformed, is left to the general road (false, fieldEnd untouched).
bool convertShortField(const char* p, const char* end, const char*& fieldEnd, double& value)
{
    static constexpr double powersOfTen[] = {1e0,  1e1,  1e2,  1e3,  1e4,  1e5,  1e6,  1e7,
                                             1e8,  1e9,  1e10, 1e11, 1e12, 1e13, 1e14, 1e15,
                                             1e16, 1e17, 1e18, 1e19, 1e20, 1e21, 1e22};
    constexpr std::uint64_t ExactLimit = std::uint64_t{1} << 53;
    bool negative = false;
    if (p < end && (*p == '+' || *p == '-'))
        negative = *p++ == '-';
    std::uint64_t mantissa = 0;
    const char* digitsStart = p;
    while (p < end && isDigit(*p))
        mantissa = mantissa * 10 + static_cast<unsigned>(*p++ - '0');
    int digits = static_cast<int>(p - digitsStart);
    int scale = 0;
    if (p < end && *p == '.') {
        const char* fractionStart = ++p;
        while (p < end && isDigit(*p))
            mantissa = mantissa * 10 + static_cast<unsigned>(*p++ - '0');
        scale = -static_cast<int>(p - fractionStart);
        digits -= scale;
    }
    // 19 digits cannot wrap the 64-bit sum; more go the general road.
    if (digits == 0 || digits > 19 || mantissa > ExactLimit)
        return false;
    if (p < end && (*p == 'e' || *p == 'E')) {
        ++p;
        bool negativeExponent = false;
        if (p < end && (*p == '+' || *p == '-'))
            negativeExponent = *p++ == '-';
        int exponent = 0;
        int exponentDigits = 0;
        for (; p < end && isDigit(*p) && exponentDigits < 4; ++p, ++exponentDigits)
            exponent = exponent * 10 + (*p - '0');
        if (exponentDigits == 0)
            return false;
        scale += negativeExponent ? -exponent : exponent;
    }
    if (p < end && !isBlank(*p))
        return false;
    if (scale < -22 || scale > 22)
        return false;
    double result = static_cast<double>(mantissa);
    result = scale < 0 ? result / powersOfTen[-scale] : result * powersOfTen[scale];
    if (!fitsFloat(result))
        return false;
    value = negative ? -result : result;
    fieldEnd = p;
    return true;
}

} // namespace

bool parseNumber(std::string_view& cursor, double& value)
{
    const char* begin = cursor.data();
    const char* end = begin + cursor.size();
    const char* start = begin;
    while (start < end && isBlank(*start))
        ++start;
    const char* fieldEnd = start;
    if (convertShortField(start, end, fieldEnd, value)) {
        cursor.remove_prefix(static_cast<std::size_t>(fieldEnd - begin));
        return true;
    }
    const char* stop = start;
    while (stop < end && !isBlank(*stop))
        ++stop;
    cursor.remove_prefix(static_cast<std::size_t>(stop - begin));
    return convertField(std::string_view(start, static_cast<std::size_t>(stop - start)), value);
}
