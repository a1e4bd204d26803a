#include "config/PointFileFit.h"

#include "linearization/FitOffer.h"
#include "linearization/LinearSpline.h"
#include "linearization/TableImport.h"

#include <fstream>
#include <random>
#include <system_error>

bool fitPointFile(const std::filesystem::path& path, const std::string& name, const FitChoice& choice,
                  LinearizationTable& table, PointSet& pointSet, PointFileCheck& check, std::string& problem)
{
    check = PointFileCheck{};
    checkPointFile(path, check);
    const bool merged = choice.spline && check.repeatedCount > 0;
    if (choice.strict && (check.skippedCount > 0 || check.byteOrderMark || merged)) {
        problem = name + " has lines the import would skip or merge (listed above); --strict refuses it";
        return false;
    }
    pointSet = PointSet{};
    readPointSet(path, pointSet);
    const int count = pointSet.count;
    if (count < fit_offer::MinImportPoints) {
        problem = name + " holds " + std::to_string(count) +
                  " valid points (Soubor neobsahuje dostatek bodů.); a fit needs at least 3 lines of x and y";
        return false;
    }
    if (choice.spline) {
        if (!fit_offer::splineOffered(count)) {
            problem = name + " holds " + std::to_string(count) + " points; the spline takes at most " +
                      std::to_string(MaxSplinePoints) + ": use --order N instead";
            return false;
        }
        pointSet.method = 1;
    } else {
        const int highest = fit_offer::highestOrder(count);
        const int order = choice.order.value_or(fit_offer::preselectedOrder(count));
        if (order < fit_offer::LowestOrder || order > highest) {
            problem = "--order " + std::to_string(order) + ": the " + std::to_string(count) + " points of " +
                      name + " allow orders 2.." + std::to_string(highest);
            return false;
        }
        pointSet.method = 0;
        pointSet.order = static_cast<std::uint8_t>(order);
    }
    if (!importTable(path, pointSet, table)) {
        problem = "the fit of " + name +
                  " gives no usable coefficients (Chyba při zpracování.); try another order or the spline";
        return false;
    }
    return true;
}

bool fitPointText(std::string_view text, const std::string& name, const FitChoice& choice,
                  LinearizationTable& table, PointSet& pointSet, PointFileCheck& check, std::string& problem)
{
    // The readers take a file; the folder is made new (creation fails when
    // it exists), so nobody else's file is read or replaced.
    std::error_code error;
    const std::filesystem::path temporary = std::filesystem::temp_directory_path(error);
    std::filesystem::path folder;
    std::random_device random;
    for (int attempt = 0; attempt < 8 && folder.empty(); ++attempt) {
        std::filesystem::path candidate =
            temporary / ("dnx8-points-" + std::to_string(random()) + "-" + std::to_string(random()));
        if (!error && std::filesystem::create_directory(candidate, error) && !error)
            folder = std::move(candidate);
    }
    if (folder.empty()) {
        problem = "cannot make a temporary folder for the point file; check the free space";
        return false;
    }
    const std::filesystem::path path = folder / "points.txt";
    bool written = false;
    {
        std::ofstream out(path, std::ios::binary);
        out.write(text.data(), static_cast<std::streamsize>(text.size()));
        written = static_cast<bool>(out.flush());
    }
    const bool fitted =
        written && fitPointFile(path, name, choice, table, pointSet, check, problem);
    if (!written)
        problem = "cannot keep the point file in a temporary folder; check the free space";
    std::filesystem::remove_all(folder, error);
    return fitted;
}
