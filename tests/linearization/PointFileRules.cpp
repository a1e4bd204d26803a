#include "PointFileRules.h"

#include <cmath>
#include <cstdlib>
#include <optional>
#include <string>

namespace {

// The grammar as a small automaton: sign, mantissa digits around an optional
// point, then an optional exponent. (A regular expression says the same but
// is far too slow for the fuzzer.)
bool MatchesGrammar(const std::string& field)
{
    enum State { Start, Sign, Whole, Point, Fraction, E, ESign, EDigits, Fail };
    State state = Start;
    for (const char c : field) {
        const bool digit = c >= '0' && c <= '9';
        const bool sign = c == '+' || c == '-';
        const bool e = c == 'e' || c == 'E';
        switch (state) {
        case Start:
        case Sign:
            state = digit ? Whole : c == '.' ? Point : sign && state == Start ? Sign : Fail;
            break;
        case Whole:
            state = digit ? Whole : c == '.' ? Fraction : e ? E : Fail;
            break;
        case Point: // a point with no digit yet
            state = digit ? Fraction : Fail;
            break;
        case Fraction:
            state = digit ? Fraction : e ? E : Fail;
            break;
        case E:
            state = digit ? EDigits : sign ? ESign : Fail;
            break;
        case ESign:
        case EDigits:
            state = digit ? EDigits : Fail;
            break;
        case Fail:
            return false;
        }
    }
    return state == Whole || state == Fraction || state == EDigits;
}

std::optional<double> FieldValue(const std::string& field)
{
    if (!MatchesGrammar(field))
        return std::nullopt;
    // Correctly rounded; beyond the double range it gives infinity, below it zero.
    char* end = nullptr;
    const double value = std::strtod(field.c_str(), &end);
    if (end != field.c_str() + field.size())
        return std::nullopt;
    // Halfway between the largest float and 2^128: from there on a float is infinite.
    if (!(std::fabs(static_cast<long double>(value)) < 0x1.ffffffp127L))
        return std::nullopt;
    return value;
}

// The next field of a line: blanks skipped, then everything up to a blank.
std::string NextField(std::string_view& line)
{
    const std::size_t start = std::min(line.find_first_not_of(" \t"), line.size());
    const std::size_t stop = std::min(line.find_first_of(" \t", start), line.size());
    const std::string field(line.substr(start, stop - start));
    line.remove_prefix(stop);
    return field;
}

} // namespace

std::vector<std::pair<double, double>> PointsByTheRules(std::string_view bytes)
{
    bytes = bytes.substr(0, bytes.find('\x1a'));
    std::vector<std::pair<double, double>> points;
    while (!bytes.empty()) {
        const std::size_t lineEnd = std::min(bytes.find_first_of("\r\n"), bytes.size());
        std::string_view line = bytes.substr(0, std::min<std::size_t>(lineEnd, 127));
        bytes.remove_prefix(lineEnd);
        if (bytes.starts_with("\r\n"))
            bytes.remove_prefix(2);
        else if (!bytes.empty())
            bytes.remove_prefix(1);
        if (line.empty() || line.front() == ';')
            continue;
        const auto x = FieldValue(NextField(line));
        const auto y = FieldValue(NextField(line));
        if (x && y)
            points.emplace_back(*x, *y);
    }
    return points;
}
