#include "cli/commands/FitCommands.h"
#include "framework/CzechPlural.h"

#include "cli/CommandLine.h"
#include "cli/ExitCode.h"
#include "cli/Failure.h"
#include "cli/commands/FitReportCommand.h"
#include "cli/LabelledLines.h"
#include "cli/PointFileImport.h"
#include "report/FitReportJson.h"
#include "framework/NumberText.h"
#include "linearization/LinearizationTable.h"
#include "linearization/PointSet.h"

#include <iostream>

namespace {

struct Options {
    std::string file;
    FitChoice choice;
    bool json = false;
    FitReportOptions report;
};

int runFit(const Options& options)
{
    if (options.report.wanted())
        return runFitReport(options.file, options.choice, options.report, options.json);
    LinearizationTable table;
    PointSet pointSet;
    std::string problem;
    PointFileCheck check;
    if (!importPointFile(options.file, options.choice, table, pointSet, problem, &check))
        return fail(exit_code::BadUsage, problem + ".");
    if (options.json)
        printJson(std::cout, withSkippedLines(fitJson(table, pointSet), check));
    else
        printFitText(std::cout, table, pointSet);
    return exit_code::Done;
}

} // namespace

Json fitJson(const LinearizationTable& table, const PointSet& pointSet)
{
    Json json = Json::object();
    if (pointSet.method == 1) {
        json["method"] = "spline";
        Json segments = Json::array();
        for (int i = 0; i < table.segmentCount && i < MaxSegments; ++i) {
            const LinearSegment& s = table.segments[i];
            segments.push_back(Json{{"a0", s.a0}, {"a1", s.a1}, {"a2", s.a2}, {"a3", s.a3}, {"x0", s.x0}});
        }
        json["segments"] = segments;
    } else {
        json["method"] = "polynomial";
        json["degree"] = table.polynomialDegree;
        json["coefficients"] = table.coefficients;
    }
    json["min"] = table.min;
    json["max"] = table.max;
    json["points"] = pointSet.count;
    return json;
}

void printFitText(std::ostream& out, const LinearizationTable& table, const PointSet& pointSet)
{
    using number_text::RealAutoText;
    LabelledLines lines;
    lines.add("Bodů", std::to_string(pointSet.count));
    lines.add("Min", RealAutoText(table.min));
    lines.add("Max", RealAutoText(table.max));
    if (pointSet.method == 1) {
        lines.add("Metoda", "Lineární spline, " + segmentCountText(table.segmentCount));
        for (int i = 0; i < table.segmentCount && i < MaxSegments; ++i) {
            const LinearSegment& s = table.segments[i];
            lines.add("Segment " + std::to_string(i + 1), "x0 " + RealAutoText(s.x0) + "  a0 " +
                                                              RealAutoText(s.a0) + "  a1 " +
                                                              RealAutoText(s.a1));
        }
    } else {
        lines.add("Metoda", "Aproximační polynom, " + std::to_string(table.polynomialDegree) + ". řádu");
        for (int i = 0; i <= MaxPolynomialDegree; ++i)
            lines.add("b" + std::to_string(i), RealAutoText(table.coefficients[i]));
    }
    lines.print(out);
}

void addFitCommands(CommandLine& commandLine)
{
    auto options = std::make_shared<Options>();
    CLI::App* fit =
        commandLine.add("fit", "Fit a point file as the linearization import does, without a converter",
                        [options] { return runFit(*options); });
    fit->add_option("FILE", options->file, "Point file: lines of x and y; lines starting with ; are comments")
        ->required();
    addFitChoiceOptions(fit, options->choice);
    fit->add_flag("--json", options->json, "JSON for machines instead of text for people");
    addFitReportOptions(fit, options->report);
}
