#include "cli/PointFileImport.h"

#include "cli/InputFile.h"
#include "cli/UserNumberOptions.h"
#include "config/UserNumbers.h"
#include "linearization/FitOffer.h"
#include "linearization/TableImport.h"
#include "config/Configuration.h"

#include <fstream>
#include <iostream>
#include <system_error>

void addFitChoiceOptions(CLI::App* command, FitChoice& choice)
{
    CLI::Option* order = command->add_option_function<std::string>(
        "--order",
        [&choice](const std::string& text) {
            choice.order = static_cast<int>(*readUserInteger(text, 0, 99));
        },
        "Polynomial of order N (2..9, at most the point count - 1); default: the order the dialog "
        "preselects");
    order->type_name("N")->check(userInteger(fit_offer::LowestOrder, MaxPolynomialDegree));
    CLI::Option* spline =
        command->add_flag("--spline", choice.spline, "Linear spline through the points (up to 21)");
    order->excludes(spline);
    command->add_flag("--strict", choice.strict,
                      "Refuse a point file with lines that are skipped (a decimal comma, text, a byte-order "
                      "mark) or, with --spline, repeated x values");
}

std::filesystem::path pathFromArgument(const std::string& text)
{
    return std::filesystem::path(std::u8string(text.begin(), text.end()));
}

namespace {

// Tells what the import leaves out.
void reportSkippedLines(const std::string& fileName, const PointFileCheck& check, bool merged)
{
    for (const SkippedPointLine& skipped : check.skipped)
        std::cerr << "dnx8: " << fileName << ":" << skipped.line << ": skipped: " << skipped.reason << '\n';
    if (check.skippedCount > static_cast<std::int64_t>(check.skipped.size()))
        std::cerr << "dnx8: " << fileName << ": " << check.skippedCount - check.skipped.size()
                  << " more lines skipped\n";
    if (merged) {
        std::string values;
        for (double x : check.repeatedX)
            values += " " + realText(static_cast<float>(x));
        std::cerr << "dnx8: " << fileName << ": the spline keeps the first point of each x and drops "
                  << check.repeatedCount << (check.repeatedCount == 1 ? " later point" : " later points")
                  << " at an x given before (x:" << values << ")\n";
    }
}

} // namespace

bool importPointFile(const std::string& fileName, const FitChoice& choice, LinearizationTable& table,
                     PointSet& pointSet, std::string& problem, PointFileCheck* found)
{
    const std::filesystem::path path = pathFromArgument(fileName);
    if (const std::string kind = notRegularFileKind(fileName); !kind.empty()) {
        problem = fileName + " is " + kind + ", not a point file; give the point file (lines of x and y) " +
                  "where POINTS or FILE stands in the usage (dnx8 COMMAND --help)";
        return false;
    }
    std::error_code error;
    // Read twice (count, then fit): a regular file only.
    if (!std::filesystem::is_regular_file(path, error) || !std::ifstream(path).is_open()) {
        problem = "cannot read the point file " + fileName + "; check its name";
        return false;
    }
    PointFileCheck check;
    const bool imported = importPoints(path, fileName, choice, FitChoiceWords{}, table, pointSet, check, problem);
    if (found)
        *found = check;
    reportSkippedLines(fileName, check, mergesRepeatedX(check, choice));
    return imported;
}
