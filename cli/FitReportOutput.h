#pragma once

#include "config/Json.h"

#include <ostream>
#include <string>

struct FitQualityReport;

// How `dnx8 fit FILE --report` shows what each offered choice would give:
// an aligned table for people, with the window's Czech terms, and JSON.

void printFitReportText(std::ostream& out, const std::string& fileName, const FitQualityReport& report);

// {"points", "min", "max", "preselected", "lowestWithin10Percent",
//  "report": [{"method": "polynomial", "degree", "maxResidual",
//  "maxResidualAt", "rmsResidual", "maxResidual80", "rmsResidual80",
//  "float32Warning", "noBetterThan"}, ..., {"method": "spline", ...}]}; the
// float32 figures without suffix, null where a choice cannot be built.
Json fitReportJson(const FitQualityReport& report);
