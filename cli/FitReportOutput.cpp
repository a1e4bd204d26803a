#include "cli/FitReportOutput.h"

#include "cli/LabelledLines.h"
#include "linearization/FitQuality.h"

#include <cstdio>
#include <vector>

namespace {

std::string Figure(double value, int digits = 3)
{
    char text[40];
    std::snprintf(text, sizeof text, "%.*g", digits, value);
    return text;
}

// The dialog's list text of an order.
std::string OrderText(int degree)
{
    return std::to_string(degree) + ". řádu";
}

std::string MethodText(const FitQualityEntry& entry)
{
    return entry.method == FitMethod::Spline ? "Lineární spline" : "Polynom " + OrderText(entry.degree);
}

std::vector<std::string> Cells(const FitQualityEntry& entry, int preselected)
{
    std::vector<std::string> cells{MethodText(entry)};
    if (entry.sent)
        cells.insert(cells.end(), {Figure(entry.sent->maxResidual), Figure(entry.sent->maxResidualAt, 7),
                                   Figure(entry.sent->rmsResidual)});
    else
        cells.insert(cells.end(), {"-", "", "-"});
    if (entry.exact)
        cells.insert(cells.end(), {Figure(entry.exact->maxResidual), Figure(entry.exact->rmsResidual)});
    else
        cells.insert(cells.end(), {"-", "-"});
    std::string notes;
    const auto note = [&](const std::string& text) { notes += (notes.empty() ? "" : "; ") + text; };
    if (!entry.sent)
        note("nelze sestavit");
    if (entry.float32Warning)
        note("float32 ztrácí přesnost");
    if (entry.noBetterThan != 0)
        note("není lepší než " + OrderText(entry.noBetterThan));
    if (entry.method == FitMethod::Polynomial && entry.degree == preselected)
        note("předvolba dialogu");
    cells.push_back(notes);
    return cells;
}

Json Figures(const std::optional<ResidualFigures>& figures, double ResidualFigures::*member)
{
    return figures ? Json((*figures).*member) : Json(nullptr);
}

} // namespace

void PrintFitReportText(std::ostream& out, const std::string& fileName, const FitQualityReport& report)
{
    LabelledLines head;
    head.add("Soubor", fileName);
    head.add("Bodů", std::to_string(report.count));
    head.add("Min", Figure(report.min, 9));
    head.add("Max", Figure(report.max, 9));
    head.print(out);
    out << '\n';

    std::vector<std::vector<std::string>> rows{
        {"Metoda", "Max. odchylka", "při x", "RMS", "Max. (80 b)", "RMS (80 b)", "Poznámka"}};
    for (const FitQualityEntry& entry : report.entries)
        rows.push_back(Cells(entry, report.preselectedOrder));
    std::vector<std::size_t> widths(rows.front().size(), 0);
    for (const auto& row : rows)
        for (std::size_t i = 0; i < row.size(); ++i)
            widths[i] = std::max(widths[i], TextWidth(row[i]));
    for (const auto& row : rows) {
        std::string line;
        for (std::size_t i = 0; i < row.size(); ++i)
            line += i + 1 < row.size() ? PadRight(row[i], widths[i] + 2) : row[i];
        while (!line.empty() && line.back() == ' ')
            line.pop_back();
        out << line << '\n';
    }
    out << '\n'
        << "Max. odchylka, při x, RMS: z koeficientů float32, jak je dostane převodník; (80 b): řešení v 80 "
           "bitech.\n"
        << "Odchylky pod " << Figure(report.roundingLevel)
        << " (4 kroky float32 největšího |y|) jsou zaokrouhlení a počítají se jako stejné.\n";
    if (report.recommendedOrder != 0)
        out << "Nejnižší řád do 10 % nejlepší odchylky: " << OrderText(report.recommendedOrder) << '\n';
}

Json FitReportJson(const FitQualityReport& report)
{
    Json entries = Json::array();
    for (const FitQualityEntry& entry : report.entries) {
        Json json = Json::object();
        json["method"] = entry.method == FitMethod::Spline ? "spline" : "polynomial";
        if (entry.method == FitMethod::Polynomial)
            json["degree"] = entry.degree;
        json["maxResidual"] = Figures(entry.sent, &ResidualFigures::maxResidual);
        json["maxResidualAt"] = Figures(entry.sent, &ResidualFigures::maxResidualAt);
        json["rmsResidual"] = Figures(entry.sent, &ResidualFigures::rmsResidual);
        json["maxResidual80"] = Figures(entry.exact, &ResidualFigures::maxResidual);
        json["rmsResidual80"] = Figures(entry.exact, &ResidualFigures::rmsResidual);
        json["float32Warning"] = entry.float32Warning;
        if (entry.method == FitMethod::Polynomial)
            json["noBetterThan"] = entry.noBetterThan != 0 ? Json(entry.noBetterThan) : Json(nullptr);
        entries.push_back(json);
    }
    Json json = Json::object();
    json["points"] = report.count;
    json["min"] = report.min;
    json["max"] = report.max;
    json["preselected"] = report.preselectedOrder;
    json["lowestWithin10Percent"] =
        report.recommendedOrder != 0 ? Json(report.recommendedOrder) : Json(nullptr);
    json["report"] = entries;
    return json;
}
