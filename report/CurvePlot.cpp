#include "report/CurvePlot.h"

#include "report/PlotFrame.h"

#include <algorithm>
#include <cmath>

namespace {

constexpr double CurveWidth = 680;
constexpr double CurveHeight = 300;
constexpr int Samples = 400;

} // namespace

std::string CurvePlot::svgElement() const
{
    std::vector<double> xs;
    for (int i = 0; i <= Samples; ++i)
        xs.push_back(min + (max - min) * i / Samples);
    for (const double b : breaks)
        if (b > min && b < max) {
            // Both sides of a break: the pieces need not meet.
            xs.push_back(std::nextafter(b, min));
            xs.push_back(b);
        }
    std::sort(xs.begin(), xs.end());
    std::vector<SvgWriter::Point> points;
    double lo = INFINITY;
    double hi = -INFINITY;
    for (const double x : xs) {
        const double y = curve(x);
        points.emplace_back(x, y);
        if (std::isfinite(y)) {
            lo = std::min(lo, y);
            hi = std::max(hi, y);
        }
    }
    if (lo > hi)
        lo = hi = 0;
    SvgWriter svg(CurveWidth, CurveHeight,
                  std::string(PlotFrame::Css) + ".curve{fill:none;stroke:#c8401e;stroke-width:1.8}");
    const PlotFrame frame({84, 12, CurveWidth - 104, CurveHeight - 60}, PlotScale::around(min, max, 10),
                          PlotScale::around(lo, hi, 8));
    frame.drawAxes(svg, xTitle, yTitle);
    frame.drawCurve(svg, points, "curve");
    return svg.element();
}
