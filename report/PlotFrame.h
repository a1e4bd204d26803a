#pragma once

#include "report/PlotScale.h"
#include "report/SvgWriter.h"

#include <string>
#include <vector>

// One chart area of a picture: a box in pixels, round scales around the data
// and the mapping between the two.
class PlotFrame {
public:
    struct Box {
        double left = 0;
        double top = 0;
        double width = 0;
        double height = 0;
    };

    PlotFrame(const Box& box, const PlotScale& x, const PlotScale& y);

    double px(double x) const;
    double py(double y) const;
    bool inside(double pxValue, double pyValue) const;
    const Box& box() const { return area; }
    const PlotScale& xScale() const { return x; }
    const PlotScale& yScale() const { return y; }

    // Grid, frame, ticks with their labels and the axis titles. The titles
    // are left out when empty.
    void drawAxes(SvgWriter& svg, const std::string& xTitle, const std::string& yTitle) const;
    // A curve in data units, cut at the frame.
    void drawCurve(SvgWriter& svg, const std::vector<SvgWriter::Point>& points, std::string_view cls) const;

    // The styles drawAxes and drawCurve use, for the picture's <style>.
    static const char* const Css;

private:
    Box area;
    PlotScale x;
    PlotScale y;
};
