#include "cli/PointFileImport.h"

#include "cli/UserNumberOptions.h"
#include "config/UserNumbers.h"
#include "linearization/FitOffer.h"
#include "linearization/TableImport.h"

#include <fstream>
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
}

std::filesystem::path pathFromArgument(const std::string& text)
{
    return std::filesystem::path(std::u8string(text.begin(), text.end()));
}

bool importPointFile(const std::string& fileName, const FitChoice& choice, LinearizationTable& table,
                     PointSet& pointSet, std::string& problem)
{
    const std::filesystem::path path = pathFromArgument(fileName);
    std::error_code error;
    // Read twice (count, then fit): a regular file only.
    if (!std::filesystem::is_regular_file(path, error) || !std::ifstream(path).is_open()) {
        problem = "cannot read the point file " + fileName + "; check its name";
        return false;
    }
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
