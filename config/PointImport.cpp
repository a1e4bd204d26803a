#include "config/PointImport.h"

#include "linearization/FitOffer.h"
#include "linearization/TableImport.h"

bool mergesRepeatedX(const PointFileCheck& check, const FitChoice& choice)
{
    return choice.spline && check.repeatedCount > 0;
}

bool importPoints(const std::filesystem::path& path, const std::string& shownName, const FitChoice& choice,
                  const FitChoiceWords& words, LinearizationTable& table, PointSet& pointSet,
                  PointFileCheck& check, std::string& problem)
{
    if (!checkPointFile(path, check)) {
        problem = "cannot read the point file " + shownName + "; check its name";
        return false;
    }
    if (choice.strict && (check.skippedCount > 0 || check.byteOrderMark || mergesRepeatedX(check, choice))) {
        problem = shownName + " has lines the import would skip or merge (listed above); " + words.strict +
                  " refuses it";
        return false;
    }
    pointSet = PointSet{};
    readPointSet(path, pointSet);
    const int count = pointSet.count;
    if (count < fit_offer::MinImportPoints) {
        problem = shownName + " holds " + std::to_string(count) +
                  " valid points (Soubor neobsahuje dostatek bodů.); a fit needs at least 3 lines of x and y";
        return false;
    }
    if (choice.spline) {
        if (!fit_offer::splineOffered(count)) {
            problem = shownName + " holds " + std::to_string(count) + " points; the spline takes at most " +
                      std::to_string(MaxSplinePoints) + ": use " + words.order + " N instead";
            return false;
        }
        pointSet.method = 1;
    } else {
        const int highest = fit_offer::highestOrder(count);
        const int order = choice.order.value_or(fit_offer::preselectedOrder(count));
        if (order < fit_offer::LowestOrder || order > highest) {
            problem = words.order + " " + std::to_string(order) + ": the " + std::to_string(count) +
                      " points of " + shownName + " allow orders 2.." + std::to_string(highest);
            return false;
        }
        pointSet.method = 0;
        pointSet.order = static_cast<std::uint8_t>(order);
    }
    if (!importTable(path, pointSet, table)) {
        problem = "the fit of " + shownName + " gives no usable coefficients (Chyba při zpracování.); try another order or the spline";
        return false;
    }
    return true;
}
