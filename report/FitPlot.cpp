#include "report/FitPlot.h"
#include "framework/CzechPlural.h"

#include "report/PlotFrame.h"
#include "linearization/FitQuality.h"
#include "linearization/LinearizationTable.h"
#include "linearization/PointReader.h"

#include <algorithm>
#include <cmath>
#include <vector>

namespace {

constexpr double Width = 760;
constexpr double Height = 556;
constexpr double Left = 84;
constexpr double FrameWidth = 656;
constexpr int CurveSamples = 400;

const char* const Css = ".background{fill:#fff}"
                        ".title{font-size:14px;font-weight:bold}"
                        ".point{fill:none;stroke:#1f5fa8;stroke-width:1.3}"
                        ".residual{fill:#1f5fa8}"
                        ".curve{fill:none;stroke:#c8401e;stroke-width:1.8}"
                        ".legend-point{fill:#fff;stroke:#1f5fa8;stroke-width:1.3}";

// One marker per cell of a few pixels: more would only hide each other.
class MarkerCells {
public:
    explicit MarkerCells(const PlotFrame::Box& box)
        : left(box.left), top(box.top), columns(static_cast<int>(box.width / CellSize) + 2),
          rows(static_cast<int>(box.height / CellSize) + 2),
          taken(static_cast<std::size_t>(columns) * static_cast<std::size_t>(rows))
    {
    }

    // True the first time a cell is asked for.
    bool take(double px, double py)
    {
        if (!std::isfinite(px) || !std::isfinite(py))
            return false;
        const int column = static_cast<int>(std::floor((px - left) / CellSize + 0.5));
        const int row = static_cast<int>(std::floor((py - top) / CellSize + 0.5));
        if (column < 0 || column >= columns || row < 0 || row >= rows)
            return false;
        const std::size_t cell = static_cast<std::size_t>(row) * static_cast<std::size_t>(columns) +
                                 static_cast<std::size_t>(column);
        if (taken[cell])
            return false;
        taken[cell] = true;
        return true;
    }

private:
    static constexpr double CellSize = 3;
    double left;
    double top;
    int columns;
    int rows;
    std::vector<bool> taken;
};

// Where the table's curve bends: every segment start, or evenly spaced
// samples of the polynomial.
std::vector<SvgWriter::Point> curvePoints(const LinearizationTable& table, double min, double max)
{
    std::vector<double> xs;
    if (table.segmentCount > 0) {
        xs.push_back(min);
        for (int i = 0; i < table.segmentCount; ++i)
            if (table.segments[i].x0 > min && table.segments[i].x0 < max)
                xs.push_back(table.segments[i].x0);
        xs.push_back(max);
    } else {
        for (int i = 0; i <= CurveSamples; ++i)
            xs.push_back(min + (max - min) * i / CurveSamples);
    }
    std::vector<SvgWriter::Point> points;
    for (const double x : xs)
        points.emplace_back(x, tableValueAt(table, x));
    return points;
}

} // namespace

std::string fitMethodText(const LinearizationTable& table)
{
    if (table.segmentCount > 0)
        return "Lineární spline (" + segmentCountText(table.segmentCount) + ")";
    return "Aproximační polynom " + std::to_string(table.polynomialDegree) + ". řádu";
}

std::string fitPlotSvg(const std::filesystem::path& fileName, const LinearizationTable& table,
                       const std::optional<std::string>& shownName)
{
    // First reading: the extent of the points and of the residuals.
    double yLo = INFINITY;
    double yHi = -INFINITY;
    double largest = 0;
    double largestAt = 0;
    double xLo = INFINITY;
    double xHi = -INFINITY;
    int count = 0;
    PointReader reader;
    double x = 0;
    double y = 0;
    if (reader.open(fileName)) {
        while (reader.nextPoint(x, y)) {
            xLo = std::min(xLo, x);
            xHi = std::max(xHi, x);
            yLo = std::min(yLo, y);
            yHi = std::max(yHi, y);
            const double residual = std::fabs(tableValueAt(table, x) - y);
            if (residual > largest || (count == 0 && !std::isnan(residual))) {
                largest = residual;
                largestAt = x;
            }
            ++count;
        }
    }
    if (count == 0) {
        xLo = table.min;
        xHi = table.max;
        yLo = yHi = 0;
    }
    const auto curve = curvePoints(table, xLo, xHi);
    for (const auto& [u, v] : curve) {
        if (std::isfinite(v)) {
            yLo = std::min(yLo, v);
            yHi = std::max(yHi, v);
        }
    }
    const double residualSpan = std::isfinite(largest) ? largest : 0;

    SvgWriter svg(Width, Height, std::string(PlotFrame::Css) + Css);
    const PlotScale xScale = PlotScale::around(xLo, xHi, 10);
    const PlotFrame upper({Left, 40, FrameWidth, 290}, xScale, PlotScale::around(yLo, yHi, 7));
    const PlotFrame lower({Left, 384, FrameWidth, 120}, xScale,
                          PlotScale::around(-residualSpan, residualSpan, 4));

    svg.rect(0, 0, Width, Height, "background"); // a file of its own is also seen on dark viewers
    const std::string name = shownName.value_or(fileName.filename().string());
    svg.text(Left, 22, (name.empty() ? "" : name + ": ") + fitMethodText(table), "title");
    const double legend = Left + FrameWidth;
    svg.circle(legend - 226, 18, 3, "legend-point");
    svg.text(legend - 218, 22, "body (" + std::to_string(count) + ")", "");
    svg.line(legend - 130, 18, legend - 108, 18, "curve");
    svg.text(legend - 102, 22, "převodník (float32)", "");
    upper.drawAxes(svg, "", "y");
    std::string header = "Odchylka převodníku od bodů: největší " + significantText(largest);
    if (count > 0)
        header += " při x = " + significantText(largestAt, 7);
    svg.text(Left, 372, header, "");
    lower.drawAxes(svg, "x", "odchylka");

    // Second reading: the markers.
    MarkerCells pointCells(upper.box());
    MarkerCells residualCells(lower.box());
    PointReader again; // a reader per reading
    if (again.open(fileName)) {
        while (again.nextPoint(x, y)) {
            const double px = upper.px(x);
            if (pointCells.take(px, upper.py(y)))
                svg.circle(px, upper.py(y), 3, "point");
            const double residual = tableValueAt(table, x) - y;
            if (residualCells.take(px, lower.py(residual)))
                svg.circle(px, lower.py(residual), 2.2, "residual");
        }
    }
    // Over the markers, so that it shows between dense points.
    upper.drawCurve(svg, curve, "curve");
    return svg.document();
}
