// The one rule for coefficients the converter does not use, and the account
// of an interrupted write sequence.
#include "config/Configuration.h"
#include "config/WriteOutcome.h"
#include "tests/device/MemoryConverter.h"

#include <gtest/gtest.h>

namespace {

TEST(Comparison, CoefficientsNeitherSideUsesAreShownApart)
{
    Configuration left;
    Configuration right;
    left.curveCoefficients = CurveCoefficients{1, 2, 3, 4};
    right.curveCoefficients = CurveCoefficients{1, 2, 0, 0};

    left.curveDegree = right.curveDegree = 1; // c2, c3 unused
    EXPECT_TRUE(compareConfigurations(left, right).empty());
    EXPECT_EQ(unusedDifferences(left, right).size(), 2u);

    left.curveDegree = right.curveDegree = 0; // no polynomial at all
    right.curveCoefficients = CurveCoefficients{};
    EXPECT_TRUE(compareConfigurations(left, right).empty());
    EXPECT_EQ(unusedDifferences(left, right).size(), 4u);

    left.curveDegree = 3; // used on one side: every difference counts
    const auto differences = compareConfigurations(left, right);
    ASSERT_EQ(differences.size(), 5u);
    EXPECT_EQ(differences[0].name, "CurveDegree");
    EXPECT_EQ(differences[4].name, "CurveCoefficients[3]");

    left.curveDegree.reset(); // an unknown degree: counted
    EXPECT_EQ(compareConfigurations(left, right).size(), 5u);
}

TEST(WriteOutcomeTest, TellsConfirmedUnconfirmedAndNeverSent)
{
    ConverterLink link(std::make_unique<MemoryConverter>());
    WriteOutcome outcome;
    auto sequence = [](ConverterLink& l) {
        std::uint8_t filter = 5;
        l.writeFilter(filter);
        l.commit();
    };
    EXPECT_TRUE(runJournalled(link, sequence, outcome));
    EXPECT_EQ(outcome.confirmed, (std::vector<std::string>{"Filter", "Commit"}));

    link.close(); // the port gone: nothing leaves
    EXPECT_FALSE(runJournalled(link, sequence, outcome));
    EXPECT_TRUE(outcome.confirmed.empty());
    EXPECT_EQ(outcome.notSent, (std::vector<std::string>{"Filter", "Commit"}));
    const std::vector<std::string> lines = outcome.lines("dnx8 set P filter=5");
    EXPECT_EQ(lines.front(), "never sent: Filter, Commit");
    EXPECT_EQ(lines.back(), "the converter may now be half configured; to finish the job run: dnx8 set P filter=5");
}

} // namespace
