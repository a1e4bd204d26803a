#pragma once

#include <functional>
#include <string>
#include <vector>

// A characteristic drawn over its range, as an <svg> element for a page.
struct CurvePlot {
    std::function<double(double)> curve;
    double min = 0;
    double max = 0;
    // x where the curve's formula changes (segment starts, thermocouple
    // pieces): the line bends exactly there.
    std::vector<double> breaks;
    std::string xTitle;
    std::string yTitle;

    std::string svgElement() const;
};
