#pragma once

#include "config/BackupFile.h"
#include "config/Json.h"

#include <string>
#include <vector>

// What `dnx8 diff` finds between two backups (a converter's read counts as
// one): the differences that count, and the coefficients neither side uses.
struct BackupComparison {
    std::vector<ConfigurationDifference> differences;
    std::vector<ConfigurationDifference> unused;

    bool equal() const { return differences.empty(); }
};

BackupComparison compareBackups(const BackupFile& left, const BackupFile& right);

// `dnx8 diff --json`: {"sources", "sides", "equal", "differences": [{"name",
// "left", "right"}], "unused"}.
Json comparisonJson(const std::string& leftName, const std::string& rightName, const BackupFile& left,
                    const BackupFile& right, const BackupComparison& comparison);

// [{"name", "left", "right"}] with the given names for the two sides.
Json differencesJson(const std::vector<ConfigurationDifference>& differences, const char* leftKey = "left",
                     const char* rightKey = "right");
