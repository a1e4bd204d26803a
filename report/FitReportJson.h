#pragma once

#include "config/Json.h"

struct FitQualityReport;
struct PointFileCheck;

// What `dnx8 fit FILE --report --json` prints and the served page shows:
// {"points", "min", "max", "preselected", "lowestWithin10Percent",
//  "report": [{"method": "polynomial", "degree", "maxResidual",
//  "maxResidualAt", "rmsResidual", "maxResidual80", "rmsResidual80",
//  "float32Warning", "noBetterThan"}, ..., {"method": "spline", ...}]}; the
// float32 figures without suffix, null where a choice cannot be built.
Json fitReportJson(const FitQualityReport& report);

// json with what the import skipped added: "byteOrderMark", "skippedLines":
// [{"line", "reason"}...], "skippedLineCount", "repeatedX": [...].
Json withSkippedLines(Json json, const PointFileCheck& check);
