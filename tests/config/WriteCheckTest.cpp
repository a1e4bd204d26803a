#include "config/Configuration.h"

#include "framework/NumberText.h"

#include <gtest/gtest.h>

#include <limits>

namespace {

std::vector<std::string> namesOf(const std::vector<ConfigurationDifference>& differences)
{
    std::vector<std::string> names;
    for (const ConfigurationDifference& d : differences)
        names.push_back(d.name);
    return names;
}

TEST(CheckWrites, ComparesOnlyTheWrittenKeysBitForBitAndNamesWhatWasNotReadBack)
{
    const float nan = std::numeric_limits<float>::quiet_NaN();
    Configuration written;
    written.inputType = 3;
    written.divider = -0.0f;
    written.rangeMin = 0.1f;
    written.scaleMin = nan;
    written.curveCoefficients = CurveCoefficients{};
    written.relay1 = RelaySettings{80, 75, 2, 3, 1};
    written.relay2 = RelaySettings{};

    Configuration back;
    back.inputType = 3;
    back.divider = 0.0f; // -0 asked, 0 held: not what was written
    // RangeMin and Relay2 did not come back.
    back.scaleMin = nan; // the same bits: equal
    back.curveCoefficients = CurveCoefficients{};
    (*back.curveCoefficients)[3] = 1.5f;
    back.relay1 = RelaySettings{80, 75, 2, 4, 1};
    back.filter = 7; // not written, so not compared
    back.shunt = 1;

    const WriteCheck check = checkWrites(written, back);
    EXPECT_EQ(check.unread, (std::vector<std::string>{"RangeMin", "Relay2"}));
    EXPECT_EQ(namesOf(check.differences),
              (std::vector<std::string>{"Divider", "CurveCoefficients[3]", "Relay1.offDelay"}));
    ASSERT_EQ(check.differences.size(), 3u);
    EXPECT_EQ(check.differences[0].left, "-0");
    EXPECT_EQ(check.differences[0].right, "0");
    EXPECT_EQ(check.differences[1].key, "CurveCoefficients");
    EXPECT_EQ(check.differences[1].right, "1.5");
    EXPECT_EQ(check.differences[2].key, "Relay1");

    EXPECT_TRUE(checkWrites(written, written).unread.empty());
    EXPECT_TRUE(checkWrites(written, written).differences.empty());
    EXPECT_TRUE(checkWrites(Configuration{}, back).differences.empty());
}

TEST(CheckWrites, ShowsRealsWithTheCallersText)
{
    Configuration written;
    written.scaleMax = 1e-7f;
    Configuration back;
    back.scaleMax = 2e-7f;
    const WriteCheck check = checkWrites(written, back, number_text::RealAutoText);
    ASSERT_EQ(check.differences.size(), 1u);
    EXPECT_EQ(check.differences[0].left, number_text::RealAutoText(1e-7f));
    EXPECT_EQ(check.differences[0].right, number_text::RealAutoText(2e-7f));
    EXPECT_EQ(checkWrites(written, back).differences[0].left, realText(1e-7f));
}

} // namespace
