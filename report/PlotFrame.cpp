#include "report/PlotFrame.h"

const char* const PlotFrame::Css =
    "text{font-family:'Liberation Sans',Arial,Helvetica,sans-serif;font-size:12px;fill:#222}"
    ".grid{stroke:#e2e2e2;stroke-width:1}"
    ".frame{fill:none;stroke:#555;stroke-width:1}"
    ".tick{stroke:#555;stroke-width:1}"
    ".zero{stroke:#999;stroke-width:1}"
    ".axis-title{font-size:13px}";

PlotFrame::PlotFrame(const Box& box, const PlotScale& x, const PlotScale& y) : area(box), x(x), y(y) {}

double PlotFrame::px(double value) const
{
    return area.left + (value - x.min) / (x.max - x.min) * area.width;
}

double PlotFrame::py(double value) const
{
    return area.top + area.height - (value - y.min) / (y.max - y.min) * area.height;
}

bool PlotFrame::inside(double pxValue, double pyValue) const
{
    // Half a pixel of slack, so that points on the frame's edge count.
    return pxValue >= area.left - 0.5 && pxValue <= area.left + area.width + 0.5 &&
           pyValue >= area.top - 0.5 && pyValue <= area.top + area.height + 0.5;
}

void PlotFrame::drawAxes(SvgWriter& svg, const std::string& xTitle, const std::string& yTitle) const
{
    using Anchor = SvgWriter::Anchor;
    const double right = area.left + area.width;
    const double bottom = area.top + area.height;
    for (const double t : x.ticks) {
        svg.line(px(t), area.top, px(t), bottom, "grid");
        svg.line(px(t), bottom, px(t), bottom + 4, "tick");
        svg.text(px(t), bottom + 17, tickLabel(t, x.step), "", Anchor::Middle);
    }
    for (const double t : y.ticks) {
        svg.line(area.left, py(t), right, py(t), t == 0 ? "zero" : "grid");
        svg.line(area.left - 4, py(t), area.left, py(t), "tick");
        svg.text(area.left - 7, py(t) + 4, tickLabel(t, y.step), "", Anchor::End);
    }
    svg.rect(area.left, area.top, area.width, area.height, "frame");
    if (!xTitle.empty())
        svg.text(area.left + area.width / 2, bottom + 35, xTitle, "axis-title", Anchor::Middle);
    if (!yTitle.empty())
        svg.text(area.left - 62, area.top + area.height / 2, yTitle, "axis-title", Anchor::Middle, true);
}

void PlotFrame::drawCurve(SvgWriter& svg, const std::vector<SvgWriter::Point>& points,
                          std::string_view cls) const
{
    std::vector<SvgWriter::Point> mapped;
    mapped.reserve(points.size());
    for (const auto& [u, v] : points)
        mapped.emplace_back(px(u), py(v));
    svg.beginClip(area.left, area.top, area.width, area.height);
    svg.polyline(mapped, cls);
    svg.endClip();
}
