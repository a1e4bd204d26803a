#include "PointFileRules.h"

#include <cerrno>
#include <cmath>
#include <cstdlib>
#include <optional>
#include <regex>
#include <string>

namespace {

std::optional<double> FieldValue(const std::string& field)
{
    static const std::regex decimalReal(R"([+-]?([0-9]+\.?[0-9]*|\.[0-9]+)([eE][+-]?[0-9]+)?)");
    if (!std::regex_match(field, decimalReal))
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
