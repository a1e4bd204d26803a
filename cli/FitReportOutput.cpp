#include "cli/FitReportOutput.h"

#include "cli/LabelledLines.h"
#include "framework/NumberText.h"
#include "linearization/FitQuality.h"

#include <cstdio>
#include <vector>

namespace {

std::string figureText(double value, int digits = 3)
{
    char text[40];
    std::snprintf(text, sizeof text, "%.*g", digits, value);
    return text;
}

// The dialog's list text of an order.
std::string orderText(int degree)
{
    return std::to_string(degree) + ". řádu";
}

std::string methodText(const FitQualityEntry& entry)
{
    return entry.method == FitMethod::Spline ? "Lineární spline" : "Polynom " + orderText(entry.degree);
}

std::vector<std::string> rowCells(const FitQualityEntry& entry, int preselected)
{
    std::vector<std::string> cells{methodText(entry)};
    if (entry.sent)
        cells.insert(cells.end(),
                     {figureText(entry.sent->maxResidual), figureText(entry.sent->maxResidualAt, 7),
                      figureText(entry.sent->rmsResidual)});
    else
        cells.insert(cells.end(), {"-", "", "-"});
    if (entry.exact)
        cells.insert(cells.end(),
                     {figureText(entry.exact->maxResidual), figureText(entry.exact->rmsResidual)});
    else
        cells.insert(cells.end(), {"-", "-"});
    std::string notes;
    const auto note = [&](const std::string& text) { notes += (notes.empty() ? "" : "; ") + text; };
    if (!entry.sent)
        note("nelze sestavit");
    if (entry.float32Warning)
        note("float32 ztrácí přesnost");
    if (entry.noBetterThan != 0)
        note("není lepší než " + orderText(entry.noBetterThan));
    if (entry.method == FitMethod::Polynomial && entry.degree == preselected)
        note("předvolba dialogu");
    cells.push_back(notes);
    return cells;
}

} // namespace

void printFitReportText(std::ostream& out, const std::string& fileName, const FitQualityReport& report)
{
    LabelledLines head;
    head.add("Soubor", fileName);
    head.add("Bodů", std::to_string(report.count));
    // The x range as `dnx8 fit` and the dialog show it.
    head.add("Min", number_text::RealAutoText(report.min));
    head.add("Max", number_text::RealAutoText(report.max));
    head.print(out);
    out << '\n';

    std::vector<std::vector<std::string>> rows{
        {"Metoda", "Max. odchylka", "při x", "RMS", "Max. (80 b)", "RMS (80 b)", "Poznámka"}};
    for (const FitQualityEntry& entry : report.entries)
        rows.push_back(rowCells(entry, report.preselectedOrder));
    std::vector<std::size_t> widths(rows.front().size(), 0);
    for (const auto& row : rows)
        for (std::size_t i = 0; i < row.size(); ++i)
            widths[i] = std::max(widths[i], textWidth(row[i]));
    for (const auto& row : rows) {
        std::string line;
        for (std::size_t i = 0; i < row.size(); ++i)
            line += i + 1 < row.size() ? padRight(row[i], widths[i] + 2) : row[i];
        while (!line.empty() && line.back() == ' ')
            line.pop_back();
        out << line << '\n';
    }
    out << '\n'
        << "Max. odchylka, při x, RMS: z koeficientů float32, jak je dostane převodník; (80 b): řešení v 80 "
           "bitech.\n"
        << "Odchylky pod " << figureText(report.roundingLevel)
        << " (4 kroky float32 největšího |y|) jsou zaokrouhlení a počítají se jako stejné.\n";
    if (report.recommendedOrder != 0)
        out << "Nejnižší řád do 10 % nejlepší odchylky: " << orderText(report.recommendedOrder) << '\n';
}
