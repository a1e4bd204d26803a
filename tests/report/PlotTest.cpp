#include "report/MarkupText.h"
#include "report/PlotScale.h"

#include <gtest/gtest.h>

#include <cmath>

TEST(PlotScale, TicksAreRoundStepsThatCoverTheData)
{
    struct Case {
        double lo, hi;
        int intervals;
        double min, max, step;
    };
    for (const Case& c : {Case{100000, 120000, 10, 100000, 120000, 2000}, Case{18.52, 390.48, 10, 0, 400, 50},
                          Case{-2.2e-4, 2.2e-4, 4, -4e-4, 4e-4, 2e-4}, Case{0.1, 1.1, 10, 0.1, 1.1, 0.1},
                          Case{-200, 850, 6, -200, 1000, 200}, Case{7, 7, 4, 6.9, 7.1, 0.05}}) {
        SCOPED_TRACE(c.lo);
        const auto scale = PlotScale::around(c.lo, c.hi, c.intervals);
        EXPECT_DOUBLE_EQ(scale.min, c.min);
        EXPECT_DOUBLE_EQ(scale.max, c.max);
        EXPECT_DOUBLE_EQ(scale.step, c.step);
        EXPECT_LE(scale.ticks.size(), static_cast<std::size_t>(c.intervals) + 1);
        // Data a thousandth of the span past the axis counts as on it.
        EXPECT_LE(scale.min, c.lo + 1e-3 * (c.hi - c.lo));
        EXPECT_GE(scale.max, c.hi - 1e-3 * (c.hi - c.lo));
    }
    EXPECT_EQ(PlotScale::around(0.1, 1.1, 10).ticks[2], 0.3); // not 0.30000000000000004
    // Nothing to scale: an axis still comes out.
    EXPECT_EQ(PlotScale::around(0, INFINITY, 5).ticks.size(), 6u);
    EXPECT_EQ(PlotScale::around(0, 0, 4).ticks.front(), -1);
    EXPECT_EQ(PlotScale::around(0, 1e-320, 4).ticks.front(), -1);
    EXPECT_FALSE(PlotScale::around(-1e308, 1.7e308, 4).ticks.empty());
}

TEST(PlotScale, LabelsShowWhatTheStepNeeds)
{
    EXPECT_EQ(tickLabel(105000, 5000), "105000");
    EXPECT_EQ(tickLabel(0.30000000000000004, 0.1), "0.3");
    EXPECT_EQ(tickLabel(-200, 200), "\u2212200");
    EXPECT_EQ(tickLabel(1e-17, 0.1), "0");
    EXPECT_EQ(tickLabel(-2.5e-5, 5e-6), "\u22122.5e\u22125");
    EXPECT_EQ(tickLabel(3e8, 1e8), "3e8");
    EXPECT_EQ(significantText(0.000123456), "0.000123");
    EXPECT_EQ(significantText(2.19e-7), "2.19e\u22127");
}

TEST(MarkupText, EscapesMarkupAndKeepsOnlyWellFormedText)
{
    EXPECT_EQ(escapeMarkup("a<b & \"c\" 'd'>"), "a&lt;b &amp; &quot;c&quot; &#39;d&#39;&gt;");
    EXPECT_EQ(escapeMarkup("Třídrát °C"), "Třídrát °C");
    // A Windows-1250 file name, a lone continuation byte, a cut sequence, a
    // control character, an encoded surrogate.
    EXPECT_EQ(escapeMarkup("b\xF8\x65zen.txt"), "b\uFFFDezen.txt");
    EXPECT_EQ(escapeMarkup("\x80x\xC5"), "\uFFFDx\uFFFD");
    EXPECT_EQ(escapeMarkup("a\x01\tb"), "a\uFFFD\tb");
    EXPECT_EQ(escapeMarkup("\xED\xA0\x80"), "\uFFFD\uFFFD\uFFFD");
}
