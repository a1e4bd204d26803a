#pragma once

#include "config/Json.h"

#include <ostream>
#include <string>

struct FitQualityReport;

// How `dnx8 fit FILE --report` shows what each offered choice would give:
// an aligned table for people, with the window's Czech terms (the JSON is
// report/FitReportJson).

void printFitReportText(std::ostream& out, const std::string& fileName, const FitQualityReport& report);
