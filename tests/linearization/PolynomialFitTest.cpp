#include "linearization/PolynomialFit.h"
#include "linearization/LinearizationTable.h"

#include "TempPointFile.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <string>
#include <vector>

namespace {

// y = sum c[k] x^k for x = first, first + step, ...; one "x y" line each.
std::string PolynomialLines(const std::vector<double>& c, int points, double first, double step)
{
    std::string text;
    for (int i = 0; i < points; ++i) {
        const double x = first + i * step;
        double y = 0;
        for (std::size_t k = c.size(); k-- > 0;)
            y = y * x + c[k];
        char line[80];
        std::snprintf(line, sizeof line, "%.17g %.17g\n", x, y);
        text += line;
    }
    return text;
}

void FillSpline(LinearizationTable& table)
{
    table.segmentCount = 3;
    table.segments[2].a1 = 4;
    table.min = -1;
    table.max = 1;
}

void ExpectUnchanged(const LinearizationTable& table)
{
    EXPECT_EQ(table.segmentCount, 3);
    EXPECT_EQ(table.segments[2].a1, 4);
    EXPECT_EQ(table.polynomialDegree, 0);
    EXPECT_EQ(table.coefficients[0], 0);
}

} // namespace

TEST(PolynomialFit, ArithmeticCarriesA64BitMantissa)
{
    // The fit relies on extended precision; a runtime that lowers the FPU
    // precision (as some Windows start-ups do) would spoil it silently.
    volatile long double one = 1;
    volatile long double tiny = 0x1p-63L;
    EXPECT_NE(one + tiny, one);
}

TEST(PolynomialFit, SumsAreKeptIn80BitsInTheOrderOfThePoints)
{
    // 1 + 2^-60 holds in 80 bits, not in a double.
    PolynomialFit fit(1);
    fit.addPoint(1, 1);
    fit.addPoint(0x1p-60, 0x1p-60);
    fit.buildSystem();
    EXPECT_EQ(fit.powerSums[0], 2);
    EXPECT_EQ(fit.powerSums[1], 1 + 0x1p-60L);
    EXPECT_EQ(fit.moments[0], 1 + 0x1p-60L);
    EXPECT_EQ(fit.matrix[1][1], fit.powerSums[2]);
    EXPECT_EQ(fit.matrix[0][2], fit.moments[0]);

    // 1 + 2^-64 does not: the sums of the same points differ with their order.
    PolynomialFit ordered(1);
    for (const double x : {0x1p-64, 0x1p-64, 1.0})
        ordered.addPoint(x, 0);
    EXPECT_EQ(ordered.powerSums[1], 1 + 0x1p-63L);
    PolynomialFit reversed(1);
    for (const double x : {1.0, 0x1p-64, 0x1p-64})
        reversed.addPoint(x, 0);
    EXPECT_EQ(reversed.powerSums[1], 1);
}

TEST(PolynomialFit, ReproducesAnExactPolynomialAndReplacesASpline)
{
    TempPointFile file("0 2\n1 5\n2 8\n3 11\n");
    LinearizationTable table;
    FillSpline(table);
    ASSERT_TRUE(importPolynomial(file.path(), 2, table));
    EXPECT_EQ(table.polynomialDegree, 2);
    EXPECT_EQ(table.segmentCount, 0);
    EXPECT_EQ(table.segments[2].a1, 0);
    EXPECT_NEAR(table.coefficients[0], 2, 1e-6);
    EXPECT_NEAR(table.coefficients[1], 3, 1e-6);
    EXPECT_NEAR(table.coefficients[2], 0, 1e-6);
    for (int k = 3; k <= MaxPolynomialDegree; ++k)
        EXPECT_EQ(table.coefficients[k], 0);
    EXPECT_EQ(table.min, -1); // the range belongs to the import flow
    EXPECT_EQ(table.max, 1);
}

TEST(PolynomialFit, OrdersAboveNineAreNine)
{
    EXPECT_EQ(PolynomialFit(12).degree, 9);
    EXPECT_EQ(PolynomialFit(9).degree, 9);
    EXPECT_EQ(PolynomialFit(2).degree, 2);

    const std::vector<double> c = {1,      -2,      0.5,       0.25,      -0.125,
                                   0.0625, 0.03125, -0.015625, 0.0078125, 0.00390625};
    TempPointFile file(PolynomialLines(c, 30, -1.45, 0.1));
    LinearizationTable table;
    ASSERT_TRUE(importPolynomial(file.path(), 15, table));
    EXPECT_EQ(table.polynomialDegree, 9);
    for (int k = 0; k <= 9; ++k)
        EXPECT_NEAR(table.coefficients[k], c[k], 1e-4) << k;
}

TEST(PolynomialFit, LineOrderDoesNotMatter)
{
    const std::string lines[] = {"-4 17.5\n", "0.5 1\n", "2 -3.25\n", "7 40\n", "3 3\n", "-1 2\n", "5 11\n"};
    std::string forward;
    std::string backward;
    for (const auto& line : lines) {
        forward += line;
        backward = line + backward;
    }
    TempPointFile a(forward);
    TempPointFile b(backward);
    LinearizationTable ta;
    LinearizationTable tb;
    ASSERT_TRUE(importPolynomial(a.path(), 4, ta));
    ASSERT_TRUE(importPolynomial(b.path(), 4, tb));
    for (int k = 0; k <= 4; ++k)
        EXPECT_NEAR(ta.coefficients[k], tb.coefficients[k], 1e-5 * (1 + std::fabs(ta.coefficients[k]))) << k;
}

TEST(PolynomialFit, RepeatedXAllCount)
{
    // Two readings at each x: the fit goes through their means.
    TempPointFile file("0 1\n0 3\n1 2\n1 4\n2 9\n2 11\n");
    LinearizationTable table;
    ASSERT_TRUE(importPolynomial(file.path(), 2, table));
    EXPECT_NEAR(table.coefficients[0], 2, 1e-6);
    EXPECT_NEAR(table.coefficients[1], -2, 1e-6);
    EXPECT_NEAR(table.coefficients[2], 3, 1e-6);
}

TEST(PolynomialFit, TooFewDistinctXFailsAndKeepsTheTable)
{
    // Four lines but three distinct x: a cubic is not determined.
    TempPointFile file("1 1\n2 4\n2 5\n3 9\n");
    LinearizationTable table;
    FillSpline(table);
    EXPECT_FALSE(importPolynomial(file.path(), 3, table));
    ExpectUnchanged(table);
}

TEST(PolynomialFit, CoefficientsBeyondFloatFailAndKeepTheTable)
{
    // x close together and tiny: b2 is about 1e60.
    TempPointFile file("1e-30 1\n2e-30 2\n3e-30 0\n");
    LinearizationTable table;
    FillSpline(table);
    EXPECT_FALSE(importPolynomial(file.path(), 2, table));
    ExpectUnchanged(table);
}

TEST(PolynomialFit, UnreadableFileOrNoOrderFails)
{
    LinearizationTable table;
    FillSpline(table);
    EXPECT_FALSE(importPolynomial(MissingFile(), 2, table));
    ExpectUnchanged(table);

    TempPointFile file("0 1\n1 2\n");
    EXPECT_FALSE(importPolynomial(file.path(), 0, table));
    ExpectUnchanged(table);
}

TEST(PolynomialFit, AZeroPivotColumnIsSkippedAndReported)
{
    PolynomialFit fit(2);
    // Column 0 is zero in every row: it cannot be eliminated and x0 has no value.
    const long double rows[3][4] = {{0, 1, 2, 3}, {0, 4, 5, 6}, {0, 7, 8, 10}};
    for (int i = 0; i < 3; ++i)
        for (int j = 0; j < 4; ++j)
            fit.matrix[i][j] = rows[i][j];
    EXPECT_FALSE(fit.solve());
    EXPECT_TRUE(std::isnan(fit.moments[0]));
}

TEST(PolynomialFit, PivotingSolvesASystemWithAZeroLeadingElement)
{
    PolynomialFit fit(2);
    // x0 + x1 ... with a 0 at [0][0]: without a row swap the elimination fails.
    const long double rows[3][4] = {{0, 2, 1, 7}, {1, 1, 1, 6}, {2, 1, 3, 13}};
    for (int i = 0; i < 3; ++i)
        for (int j = 0; j < 4; ++j)
            fit.matrix[i][j] = rows[i][j];
    ASSERT_TRUE(fit.solve());
    EXPECT_NEAR(static_cast<double>(fit.moments[0]), 1, 1e-15);
    EXPECT_NEAR(static_cast<double>(fit.moments[1]), 2, 1e-15);
    EXPECT_NEAR(static_cast<double>(fit.moments[2]), 3, 1e-15);
}
