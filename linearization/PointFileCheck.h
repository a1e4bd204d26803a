#pragma once

#include "linearization/FileName.h"

#include <cstdint>
#include <string>
#include <vector>

// A line of a point file that the import skips although it is not a
// comment, with its number (from 1) and why.
struct SkippedPointLine {
    std::int64_t line = 0;
    std::string reason;
};

// What the import of a point file leaves out without a word: the window
// keeps these rules, the command line and the served page tell them.
struct PointFileCheck {
    // The file starts with a UTF-8 byte-order mark (its first line is lost).
    bool byteOrderMark = false;
    // In file order; at most MaxListed, skippedCount has them all.
    std::vector<SkippedPointLine> skipped;
    std::int64_t skippedCount = 0;
    // x values given again, which the linear spline drops (it keeps the
    // first point of each x); in file order, at most MaxListed.
    std::vector<double> repeatedX;
    std::int64_t repeatedCount = 0;

    static constexpr std::size_t MaxListed = 100;

    bool clean() const { return !byteOrderMark && skippedCount == 0 && repeatedCount == 0; }
};

// Reads the file with the import's own line rules; false when it cannot be
// opened. Memory stays bounded whatever the file.
bool checkPointFile(const FileName& fileName, PointFileCheck& check);
