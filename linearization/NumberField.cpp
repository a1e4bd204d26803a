#include "linearization/NumberField.h"

#include "linearization/FloatRange.h"

#include <charconv>
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
