#include "linearization/NumberField.h"

#include "linearization/FloatRange.h"
#include "linearization/PlainField.h"

#include <charconv>
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <system_error>

static_assert(FieldPadding >= plain_field::ReadBehind);

namespace {

using plain_field::isBlank;

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

// Skips the blanks at the cursor and converts the field behind them by the
// first road that takes it; the cursor ends behind the field.
inline bool parseField(const char*& cursor, const char* end, double& value)
{
    const char* start = cursor;
    while (start < end && isBlank(*start))
        ++start;
    if (plain_field::read<plain_field::Bound::Line>(start, end, cursor, value) ||
        convertShortField(start, end, cursor, value))
        return true;
    const char* stop = start;
    while (stop < end && !isBlank(*stop))
        ++stop;
    cursor = stop;
    return convertField(std::string_view(start, static_cast<std::size_t>(stop - start)), value);
}

} // namespace

bool parsePointPadded(const char* cursor, const char* end, double& x, double& y)
{
    return parseField(cursor, end, x) && parseField(cursor, end, y);
}

bool parseNumber(std::string_view& cursor, double& value)
{
    const char* begin = cursor.data();
    const char* end = begin + cursor.size();
    const char* start = begin;
    while (start < end && isBlank(*start))
        ++start;
    const char* stop = start;
    bool parsed = false;
    if (end - start > static_cast<std::ptrdiff_t>(FieldPadding)) {
        // A field this far from the end has its padding within the line.
        parsed = parseField(stop, end, value);
    } else {
        // Near the end, the field is read from a copy that has the padding.
        char copy[2 * FieldPadding] = {};
        if (end > start)
            std::memcpy(copy, start, static_cast<std::size_t>(end - start));
        const char* copyStop = copy;
        parsed = parseField(copyStop, copy + (end - start), value);
        stop = start + (copyStop - copy);
    }
    cursor.remove_prefix(static_cast<std::size_t>(stop - begin));
    return parsed;
}
