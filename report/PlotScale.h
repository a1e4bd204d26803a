#pragma once

#include <string>
#include <vector>

// An axis running from one round number to another in steps of 1, 2 or 5
// times a power of ten, so that its ticks read at a glance.
struct PlotScale {
    double min = 0;
    double max = 1;
    double step = 1;
    std::vector<double> ticks; // min, min + step, ..., max

    // The smallest such axis around lo..hi with at most `intervals` steps.
    // A single value gets a small range around it; lo and hi must be finite.
    static PlotScale around(double lo, double hi, int intervals);
};

// A tick's label: as many decimals as the step needs, or the exponent form
// ("2.5e−5") for very small or large numbers; "−" is the minus sign.
std::string tickLabel(double value, double step);

// A figure in a text: `digits` significant digits, the exponent form only
// where the plain one would be long.
std::string significantText(double value, int digits = 3);
