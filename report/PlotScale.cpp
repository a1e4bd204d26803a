#include "report/PlotScale.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <string_view>

namespace {

constexpr std::string_view Minus = "\u2212";

// printf's text with the typographic minus and without the exponent's
// leading zeros and plus sign: "-2.5e-05" becomes "−2.5e−5".
std::string tidy(const char* text)
{
    std::string out;
    for (const char* p = text; *p; ++p) {
        if (*p == '-') {
            out += Minus;
        } else if (*p == 'e') {
            out += 'e';
            if (p[1] == '+')
                ++p;
            else if (p[1] == '-')
                out += Minus, ++p;
            while (p[1] == '0' && p[2] != '\0')
                ++p;
        } else {
            out += *p;
        }
    }
    return out;
}

} // namespace

PlotScale PlotScale::around(double lo, double hi, int intervals)
{
    PlotScale scale;
    if (!std::isfinite(hi - lo)) // nothing sensible to show; the caller's points are off the chart
        return around(0, 1, intervals);
    if (lo > hi)
        std::swap(lo, hi);
    if (hi - lo <= std::max(std::fabs(lo), std::fabs(hi)) * 1e-12) {
        const double margin = lo == 0 ? 1 : std::fabs(lo) * 0.01;
        lo -= margin;
        hi += margin;
    }
    intervals = std::max(intervals, 1);
    // Data a thousandth of the span past a round number counts as on it: a
    // curve that ends at -200.05 still gets an axis from -200.
    const double slack = (hi - lo) * 1e-3;
    lo += slack;
    hi -= slack;
    // Steps are factor * 10^exponent. A step and its multiples are worked out
    // from whole numbers and an exact power of ten, so 3 steps of 0.1 are 0.3.
    const double rough = (hi - lo) / intervals;
    // Spans far below any measured quantity (subnormal numbers) have no
    // round steps that double can hold.
    if (!(rough >= 1e-290))
        return around(lo - 1, hi + 1, intervals);
    int exponent = static_cast<int>(std::floor(std::log10(rough)));
    for (;; ++exponent) {
        double power = 1;
        for (int i = 0; i < std::abs(exponent); ++i)
            power *= 10;
        if (!std::isfinite(power))
            return around(0, 1, intervals);
        const auto times = [&](double k) { return exponent >= 0 ? k * power : k / power; };
        for (const double factor : {1.0, 2.0, 5.0}) {
            const double step = times(factor);
            // A quotient a hair off a whole number is that number.
            const double first = std::floor(lo / step + 1e-9);
            const double last = std::ceil(hi / step - 1e-9);
            if (last - first <= intervals) {
                scale.step = step;
                scale.min = times(first * factor);
                scale.max = times(last * factor);
                for (double k = first; k <= last; ++k)
                    scale.ticks.push_back(k == 0 ? 0 : times(k * factor)); // no -0
                return scale;
            }
        }
    }
}

std::string tickLabel(double value, double step)
{
    value = std::round(value / step) * step;
    if (std::fabs(value) < step * 1e-6)
        return "0";
    const int stepExponent = static_cast<int>(std::floor(std::log10(step) + 1e-9));
    char text[48];
    if (stepExponent >= -5 && std::fabs(value) < 1e7) {
        std::snprintf(text, sizeof text, "%.*f", std::max(0, -stepExponent), value);
    } else {
        const int valueExponent = static_cast<int>(std::floor(std::log10(std::fabs(value)) + 1e-9));
        std::snprintf(text, sizeof text, "%.*e", std::max(0, valueExponent - stepExponent), value);
    }
    return tidy(text);
}

std::string significantText(double value, int digits)
{
    char text[48];
    std::snprintf(text, sizeof text, "%.*g", digits, value);
    return tidy(text);
}
