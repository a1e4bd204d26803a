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

// Tells what the import leaves out; false when --strict refuses the file.
bool reportSkippedLines(const std::string& fileName, const PointFileCheck& check, bool spline, bool strict,
                        std::string& problem)
{
    for (const SkippedPointLine& skipped : check.skipped)
        std::cerr << "dnx8: " << fileName << ":" << skipped.line << ": skipped: " << skipped.reason << '\n';
    if (check.skippedCount > static_cast<std::int64_t>(check.skipped.size()))
        std::cerr << "dnx8: " << fileName << ": " << check.skippedCount - check.skipped.size()
                  << " more lines skipped\n";
    const bool merged = spline && check.repeatedCount > 0;
    if (merged) {
        std::string values;
        for (double x : check.repeatedX)
            values += " " + realText(static_cast<float>(x));
        std::cerr << "dnx8: " << fileName << ": the spline keeps the first point of each x and drops "
                  << check.repeatedCount << (check.repeatedCount == 1 ? " later point" : " later points")
                  << " at an x given before (x:" << values << ")\n";
    }
    if (strict && (check.skippedCount > 0 || check.byteOrderMark || merged)) {
        problem = fileName + " has lines the import would skip or merge (listed above); --strict refuses it";
        return false;
    }
    return true;
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
    checkPointFile(path, check);
    if (found)
        *found = check;
    if (!reportSkippedLines(fileName, check, choice.spline, choice.strict, problem))
        return false;
    pointSet = PointSet{};
    readPointSet(path, pointSet);
    const int count = pointSet.count;
    if (count < fit_offer::MinImportPoints) {
        problem = fileName + " holds " + std::to_string(count) +
                  " valid points (Soubor neobsahuje dostatek bodů.); a fit needs at least 3 lines of x and y";
        return false;
    }
    if (choice.spline) {
        if (!fit_offer::splineOffered(count)) {
            problem = fileName + " holds " + std::to_string(count) + " points; the spline takes at most " +
                      std::to_string(MaxSplinePoints) + ": use --order N instead";
            return false;
        }
        pointSet.method = 1;
    } else {
        const int highest = fit_offer::highestOrder(count);
        const int order = choice.order.value_or(fit_offer::preselectedOrder(count));
        if (order < fit_offer::LowestOrder || order > highest) {
            problem = "--order " + std::to_string(order) + ": the " + std::to_string(count) + " points of " +
                      fileName + " allow orders 2.." + std::to_string(highest);
            return false;
        }
        pointSet.method = 0;
        pointSet.order = static_cast<std::uint8_t>(order);
    }
    if (!importTable(path, pointSet, table)) {
        problem = "the fit of " + fileName +
                  " gives no usable coefficients (Chyba při zpracování.); try another order or the spline";
        return false;
    }
    return true;
}
