#include "linearization/FitQuality.h"
#include "linearization/LinearizationTable.h"

#include "TempPointFile.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <functional>
#include <string>

namespace {

std::string Lines(int points, const std::function<double(int)>& x,
                  const std::function<double(double, int)>& y)
{
    std::string text;
    for (int i = 0; i < points; ++i) {
        char line[80];
        std::snprintf(line, sizeof line, "%.17g %.17g\n", x(i), y(x(i), i));
        text += line;
    }
    return text;
}

FitQualityReport Assess(const std::string& lines)
{
    TempPointFile file(lines);
    FitQualityReport report;
    EXPECT_TRUE(assessFit(file.path(), report));
    return report;
}

const FitQualityEntry& Order(const FitQualityReport& report, int order)
{
    return report.entries.at(static_cast<std::size_t>(order - 2));
}

} // namespace

TEST(FitQuality, ExactCubicIsMetFromOrderThreeOn)
{
    const auto report = Assess(Lines(
        13, [](int i) { return -3 + 0.5 * i; },
        [](double x, int) { return 1 + 2 * x - 0.5 * x * x + 0.25 * x * x * x; }));
    ASSERT_EQ(report.entries.size(), 9u); // orders 2..9 and the spline
    EXPECT_EQ(report.entries.back().method, FitMethod::Spline);
    EXPECT_GT(Order(report, 2).sent->maxResidual, 0.1);
    for (int order = 3; order <= 9; ++order) {
        SCOPED_TRACE(order);
        const auto& e = Order(report, order);
        EXPECT_LE(e.sent->maxResidual, report.roundingLevel);
        EXPECT_LE(e.exact->maxResidual, 1e-12);
        EXPECT_FALSE(e.float32Warning); // exact data never warns
        EXPECT_EQ(e.noBetterThan, order > 3 ? 3 : 0);
    }
    EXPECT_EQ(report.preselectedOrder, 5);
    EXPECT_EQ(report.recommendedOrder, 3);
}

TEST(FitQuality, FarFromZeroFloat32LosesTheHighOrders)
{
    // x = 100000..120000, a quadratic plus noise of 1e-4.
    const auto report = Assess(Lines(
        21, [](int i) { return 100000.0 + 1000 * i; },
        [](double x, int i) { return 5 - 2e-4 * x + 3e-9 * x * x + 1e-4 * std::sin(1.7 * i * i); }));
    EXPECT_FALSE(Order(report, 2).float32Warning);
    for (int order : {8, 9}) {
        SCOPED_TRACE(order);
        const auto& e = Order(report, order);
        EXPECT_TRUE(e.float32Warning);
        EXPECT_LT(e.exact->maxResidual, 3e-4);
        EXPECT_GT(e.sent->maxResidual, 10 * e.exact->maxResidual);
        EXPECT_NE(e.noBetterThan, 0);
    }
    EXPECT_GT(Order(report, 9).sent->maxResidual, 0.1);
    EXPECT_GT(Order(report, 9).sent->maxResidualAt, 110000);
    EXPECT_LE(report.recommendedOrder, 3);
}

TEST(FitQuality, PlatinumFileOrderEightIsWorseThanSevenIn80Bits)
{
    // Resistance of a Pt 100 from -200 to 850 degrees C against the temperature.
    const auto platinum = Assess(Lines(
        106,
        [](int i) {
            const double t = -200.0 + 10 * i;
            const double r = 100 * (1 + 3.9083e-3 * t - 5.775e-7 * t * t +
                                    (t < 0 ? -4.183e-12 * (t - 100) * t * t * t : 0));
            return std::round(r * 1e6) / 1e6;
        },
        [](double, int i) { return -200.0 + 10 * i; }));
    EXPECT_EQ(platinum.entries.size(), 8u); // no spline beyond 21 points
    EXPECT_GT(Order(platinum, 8).exact->maxResidual, Order(platinum, 7).exact->maxResidual);
    EXPECT_EQ(Order(platinum, 8).noBetterThan, 7);
    EXPECT_EQ(Order(platinum, 9).noBetterThan, 0);
    EXPECT_NEAR(Order(platinum, 2).sent->maxResidualAt, 390.481, 1e-3);
}

TEST(FitQuality, SplineIsMeasuredAtEveryLineOfTheFile)
{
    // The spline keeps the first of the two points at x = 1; the other one
    // lies 4 away from it. RMS over all four lines: sqrt(16 / 4).
    const auto report = Assess("0 0\n1 1\n1 5\n2 2\n");
    ASSERT_EQ(report.entries.size(), 3u); // orders 2, 3 and the spline
    const auto& spline = report.entries.back();
    ASSERT_EQ(spline.method, FitMethod::Spline);
    EXPECT_DOUBLE_EQ(spline.sent->maxResidual, 4);
    EXPECT_DOUBLE_EQ(spline.sent->maxResidualAt, 1);
    EXPECT_DOUBLE_EQ(spline.sent->rmsResidual, 2);
    EXPECT_DOUBLE_EQ(spline.exact->maxResidual, 4);
    // Three distinct x cannot determine a cubic: neither side has a fit.
    EXPECT_FALSE(Order(report, 3).sent);
    EXPECT_FALSE(Order(report, 3).exact);
    EXPECT_EQ(report.recommendedOrder, 2);
}

TEST(FitQuality, FileTheImportRefusesIsNotAssessed)
{
    TempPointFile two("1 1\n2 2\n; comment\n");
    FitQualityReport report;
    EXPECT_FALSE(assessFit(two.path(), report));
    EXPECT_FALSE(assessFit(MissingFile(), report));
    EXPECT_TRUE(report.entries.empty());
}

TEST(FitQuality, TableValueFollowsTheSegmentOfX)
{
    LinearizationTable table;
    table.segmentCount = 2;
    table.segments[0] = LinearSegment{10, 2, 0, 0, 0};   // from x = 0
    table.segments[1] = LinearSegment{30, -1, 0, 0, 10}; // from x = 10
    EXPECT_DOUBLE_EQ(tableValueAt(table, -1), 8);        // the first carried on below
    EXPECT_DOUBLE_EQ(tableValueAt(table, 9.5), 29);
    EXPECT_DOUBLE_EQ(tableValueAt(table, 10), 30);
    EXPECT_DOUBLE_EQ(tableValueAt(table, 20), 20); // the last carried on above
    table.clear();
    EXPECT_DOUBLE_EQ(tableValueAt(table, 3), 0);
    table.polynomialDegree = 2;
    table.coefficients[0] = 1;
    table.coefficients[2] = 0.5f;
    EXPECT_DOUBLE_EQ(tableValueAt(table, 4), 9);
}
