#include "linearization/PointFileCheck.h"

#include "linearization/LineReader.h"
#include "linearization/NumberField.h"

#include <algorithm>

namespace {

constexpr std::string_view Utf8Mark = "\xEF\xBB\xBF";
// x values remembered for repeats: more than the spline ever takes.
constexpr std::size_t MaxRememberedX = 64;

bool isBlankLine(std::string_view line)
{
    return line.find_first_not_of(" \t") == std::string_view::npos;
}

bool twoNumbers(std::string_view line)
{
    double x = 0;
    double y = 0;
    return parseNumber(line, x) && parseNumber(line, y);
}

// Why the import's rule refuses a line that is not a comment.
std::string reasonFor(std::string_view line)
{
    if (line.starts_with(Utf8Mark))
        return "starts with a UTF-8 byte-order mark; save the file without it";
    if (line.find(',') != std::string_view::npos) {
        std::string pointed(line);
        std::replace(pointed.begin(), pointed.end(), ',', '.');
        if (twoNumbers(pointed))
            return "decimal comma; write numbers with a decimal point (3.5)";
    }
    std::string_view cursor = line;
    double first = 0;
    if (!parseNumber(cursor, first))
        return "the first field is not a number";
    if (isBlankLine(cursor))
        return "only one number; a point needs x and y";
    return "the second field is not a number";
}

} // namespace

bool checkPointFile(const FileName& fileName, PointFileCheck& check)
{
    check = PointFileCheck{};
    LineReader lines;
    if (!lines.open(fileName))
        return false;
    std::vector<double> seen;
    std::string_view line;
    for (std::int64_t number = 1; lines.nextLine(line); ++number) {
        if (number == 1 && line.starts_with(Utf8Mark))
            check.byteOrderMark = true;
        if (line.empty() || line.front() == ';' || isBlankLine(line))
            continue;
        std::string_view cursor = line;
        double x = 0;
        double y = 0;
        if (parseNumber(cursor, x) && parseNumber(cursor, y)) {
            if (std::find(seen.begin(), seen.end(), x) != seen.end()) {
                if (check.repeatedX.size() < PointFileCheck::MaxListed)
                    check.repeatedX.push_back(x);
                ++check.repeatedCount;
            } else if (seen.size() < MaxRememberedX) {
                seen.push_back(x);
            }
            continue;
        }
        if (check.skipped.size() < PointFileCheck::MaxListed)
            check.skipped.push_back({number, reasonFor(line)});
        ++check.skippedCount;
    }
    return true;
}
