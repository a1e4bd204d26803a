// What the import skips, told line by line, with the import's own rules:
// line ends, comments and the points it takes agree with readPointSet.
#include "linearization/PointFileCheck.h"
#include "linearization/PointSet.h"
#include "tests/linearization/TempPointFile.h"

#include <gtest/gtest.h>

namespace {

TEST(PointFileCheck, ListsEverySkippedLineWithItsNumberAndReason)
{
    // CR, LF and CR LF line ends; a comment and a blank line are not listed.
    const TempPointFile file("\xEF\xBB\xBF"
                             "0 0\r\n; x y\r1 1\n\n2,5 6,25\ntext\n3\n4 x\n5 25\n5 26\n");
    PointFileCheck check;
    ASSERT_TRUE(checkPointFile(file.path(), check));
    EXPECT_TRUE(check.byteOrderMark);
    ASSERT_EQ(check.skippedCount, 5);
    const std::pair<std::int64_t, std::string> expected[] = {
        {1, "byte-order mark"}, {5, "decimal comma"}, {6, "first field"}, {7, "only one number"},
        {8, "second field"}};
    for (std::size_t i = 0; i < 5; ++i) {
        EXPECT_EQ(check.skipped[i].line, expected[i].first);
        EXPECT_NE(check.skipped[i].reason.find(expected[i].second), std::string::npos) << check.skipped[i].reason;
    }
    EXPECT_EQ(check.repeatedX, std::vector<double>{5});

    PointSet pointSet;
    readPointSet(file.path(), pointSet);
    EXPECT_EQ(pointSet.count, 3); // 1 1, 5 25, 5 26: the same rules
}

TEST(PointFileCheck, ACleanFileIsCleanAndAMissingOneFails)
{
    const TempPointFile file("; calibration\n0 0\n1 1e3\n-2.5 4\n");
    PointFileCheck check;
    ASSERT_TRUE(checkPointFile(file.path(), check));
    EXPECT_TRUE(check.clean());
    EXPECT_FALSE(checkPointFile(MissingFile(), check));
}

} // namespace
