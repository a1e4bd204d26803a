#include "config/BackupComparison.h"

BackupComparison compareBackups(const BackupFile& left, const BackupFile& right)
{
    return {compareConfigurations(left.configuration, right.configuration),
            unusedDifferences(left.configuration, right.configuration)};
}

Json differencesJson(const std::vector<ConfigurationDifference>& differences, const char* leftKey,
                     const char* rightKey)
{
    Json list = Json::array();
    for (const ConfigurationDifference& d : differences)
        list.push_back(Json{{"name", d.name}, {leftKey, d.left}, {rightKey, d.right}});
    return list;
}

Json comparisonJson(const std::string& leftName, const std::string& rightName, const BackupFile& left,
                    const BackupFile& right, const BackupComparison& comparison)
{
    Json sides = Json::array();
    for (const BackupFile* side : {&left, &right})
        sides.push_back(Json{{"identity", side->identity ? Json(*side->identity) : Json(nullptr)},
                             {"firmware", side->firmware ? Json(*side->firmware) : Json(nullptr)},
                             {"serialNumber", side->serialNumber ? Json(*side->serialNumber) : Json(nullptr)},
                             {"note", side->note ? Json(*side->note) : Json(nullptr)}});
    return Json{{"sources", {leftName, rightName}},
                {"sides", sides},
                {"equal", comparison.equal()},
                {"differences", differencesJson(comparison.differences)},
                {"unused", differencesJson(comparison.unused)}};
}
