#pragma once

#include <CLI/CLI.hpp>

#include <string>

struct FitChoice;

// `dnx8 fit FILE --report [--svg FILE]`: what every choice the dialog offers
// would give, and a picture of the chosen fit.
struct FitReportOptions {
    bool report = false;
    std::string svg;

    bool wanted() const { return report || !svg.empty(); }
};

void addFitReportOptions(CLI::App* fit, FitReportOptions& options);

// Writes the picture when asked, then prints the report, or the plain fit
// output without --report. The exit code.
int runFitReport(const std::string& file, const FitChoice& choice, const FitReportOptions& options,
                 bool json);
