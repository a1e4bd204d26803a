#include "cli/commands/FitReportCommand.h"

#include "cli/ExitCode.h"
#include "cli/Failure.h"
#include "cli/commands/FitCommands.h"
#include "report/FitPlot.h"
#include "cli/FitReportOutput.h"
#include "report/FitReportJson.h"
#include "cli/OutputArgument.h"
#include "cli/PointFileImport.h"
#include "linearization/FitQuality.h"

#include <iostream>

void addFitReportOptions(CLI::App* fit, FitReportOptions& options)
{
    fit->add_flag("--report", options.report,
                  "For every order the dialog offers and the spline: the largest and RMS residual of the "
                  "float32 coefficients the converter gets and of the 80-bit solution, with warnings");
    fit->add_option("--svg", options.svg,
                    "Also draw the points, the chosen fit and its residuals into FILE (SVG)")
        ->type_name("FILE");
}

int runFitReport(const std::string& file, const FitChoice& choice, const FitReportOptions& options, bool json)
{
    LinearizationTable table;
    PointSet pointSet;
    std::string problem;
    PointFileCheck check;
    if (!importPointFile(file, choice, table, pointSet, problem, &check))
        return fail(exit_code::BadUsage, problem + ".");
    const std::filesystem::path path = pathFromArgument(file);
    FitQualityReport report;
    if (options.report && !assessFit(path, report))
        return fail(exit_code::BadUsage,
                    "cannot read the point file " + file + " again; check that it stays put.");
    if (!options.svg.empty()) {
        OutputFile svg(pathFromArgument(options.svg));
        if (!svg.create() || !svg.commit(fitPlotSvg(path, table)))
            return fail(exit_code::BadUsage,
                        "cannot write " + options.svg + "; check the folder, its rights and the free space.");
    }
    if (options.report && json)
        printJson(std::cout, withSkippedLines(fitReportJson(report), check));
    else if (options.report)
        printFitReportText(std::cout, file, report);
    else if (json)
        printJson(std::cout, withSkippedLines(fitJson(table, pointSet), check));
    else
        printFitText(std::cout, table, pointSet);
    return exit_code::Done;
}
