#include "linearization/LinearSpline.h"
#include "linearization/LinearizationTable.h"

#include "TempPointFile.h"

#include <gtest/gtest.h>

#include <string>

namespace {

void ExpectSegment(const LinearSegment& s, float a0, float a1, float x0)
{
    EXPECT_EQ(s.a0, a0);
    EXPECT_EQ(s.a1, a1);
    EXPECT_EQ(s.a2, 0);
    EXPECT_EQ(s.a3, 0);
    EXPECT_EQ(s.x0, x0);
}

void FillPolynomial(LinearizationTable& table)
{
    table.polynomialDegree = 2;
    table.coefficients[0] = 1;
    table.coefficients[2] = 3;
    table.min = 7;
    table.max = 8;
}

void ExpectSplineTableUnchanged(const LinearizationTable& table)
{
    EXPECT_EQ(table.polynomialDegree, 2);
    EXPECT_EQ(table.coefficients[2], 3);
    EXPECT_EQ(table.segmentCount, 0);
}

} // namespace

TEST(LinearSpline, KeepsPointsSortedAndTheFirstOfEachX)
{
    LinearSpline spline;
    for (const auto& [x, y] : {std::pair{20.0, 30.0}, {0.0, 0.0}, {10.0, 20.0}, {0.0, 99.0}, {15.0, 1.0}})
        spline.addPoint(x, y);
    ASSERT_EQ(spline.count, 4);
    const double xs[] = {0, 10, 15, 20};
    for (int i = 0; i < 4; ++i)
        EXPECT_EQ(spline.points[i].x, xs[i]);
    EXPECT_EQ(spline.points[0].y, 0); // not 99

    int index = -1;
    EXPECT_TRUE(spline.find(15, index));
    EXPECT_EQ(index, 2);
    EXPECT_FALSE(spline.find(12, index));
    EXPECT_EQ(index, 2);
    EXPECT_FALSE(spline.find(-5, index));
    EXPECT_EQ(index, 0);
    EXPECT_FALSE(spline.find(25, index));
    EXPECT_EQ(index, 4);
}

TEST(LinearSpline, InsertIgnoresIndexesOutsideTheList)
{
    LinearSpline spline;
    spline.insert(1, 5, 5);
    spline.insert(-1, 5, 5);
    EXPECT_EQ(spline.count, 0);
    spline.insert(0, 5, 5);
    EXPECT_EQ(spline.count, 1);
}

TEST(LinearSpline, TakesTheFirst21DistinctXInFileOrder)
{
    LinearSpline spline;
    for (int i = 0; i < 25; ++i)
        spline.addPoint(100 - i, i); // the later x would sort first
    ASSERT_EQ(spline.count, MaxSplinePoints);
    EXPECT_EQ(spline.points[0].x, 80);
    EXPECT_EQ(spline.points[20].x, 100);
    spline.insert(0, -1, 0); // a full list takes nothing, not even directly
    EXPECT_EQ(spline.count, MaxSplinePoints);
    EXPECT_EQ(spline.points[0].x, 80);
}

TEST(ImportSpline, JoinsNeighboursWhateverTheLineOrder)
{
    for (const char* text : {"0 0\n10 20\n20 30\n", "20 30\n0 0\n10 20\n"}) {
        TempPointFile file(text);
        LinearizationTable table;
        FillPolynomial(table);
        ASSERT_TRUE(importSpline(file.path(), table));
        ASSERT_EQ(table.segmentCount, 2);
        ExpectSegment(table.segments[0], 0, 2, 0);
        ExpectSegment(table.segments[1], 20, 1, 10);
        EXPECT_EQ(table.polynomialDegree, 0);
        for (float c : table.coefficients)
            EXPECT_EQ(c, 0);
        EXPECT_EQ(table.min, 7); // the range belongs to the import flow
    }
}

TEST(ImportSpline, RepeatedXKeepsTheFirstLine)
{
    TempPointFile file("5 1\n5 2\n7 3\n");
    LinearizationTable table;
    ASSERT_TRUE(importSpline(file.path(), table));
    ASSERT_EQ(table.segmentCount, 1);
    ExpectSegment(table.segments[0], 1, 1, 5);
}

TEST(ImportSpline, UsesTheFirst21LinesOfALongerFile)
{
    std::string text;
    for (int i = 0; i < 25; ++i)
        text += std::to_string(i < 21 ? i : -i) + " " + std::to_string(i * i) + "\n";
    TempPointFile file(text);
    LinearizationTable table;
    ASSERT_TRUE(importSpline(file.path(), table));
    ASSERT_EQ(table.segmentCount, MaxSegments);
    ExpectSegment(table.segments[0], 0, 1, 0);
    ExpectSegment(table.segments[19], 361, 39, 19);
}

TEST(ImportSpline, OnePointEmptiesTheTable)
{
    TempPointFile file("4 1\n4 2\n4 3\n");
    LinearizationTable table;
    FillPolynomial(table);
    ASSERT_TRUE(importSpline(file.path(), table));
    EXPECT_FALSE(table.hasContent());
    EXPECT_EQ(table.coefficients[2], 0);
}

TEST(ImportSpline, FailuresKeepTheTable)
{
    LinearizationTable table;
    FillPolynomial(table);
    EXPECT_FALSE(importSpline(MissingFile(), table));
    ExpectSplineTableUnchanged(table);

    TempPointFile noPoints("; nothing here\n");
    EXPECT_FALSE(importSpline(noPoints.path(), table));
    ExpectSplineTableUnchanged(table);

    // A steep second segment beyond float: nothing is written, not even the first.
    TempPointFile steep("0 0\n1 1\n1.000000000000001 3e38\n");
    EXPECT_FALSE(importSpline(steep.path(), table));
    ExpectSplineTableUnchanged(table);
}
