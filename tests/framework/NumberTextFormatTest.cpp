#include "framework/NumberText.h"

#include <gtest/gtest.h>

#include <bit>
#include <cmath>
#include <cstdint>
#include <limits>

using namespace number_text;

namespace {

struct RealCase {
    float value;
    int decimals;
    const char* text;
};

void ExpectRealTexts(std::initializer_list<RealCase> cases)
{
    for (const RealCase& c : cases)
        EXPECT_EQ(RealText(c.value, c.decimals), c.text) << c.value << " with " << c.decimals << " decimals";
}

} // namespace

TEST(IntegerText, ShortestDecimalForm)
{
    EXPECT_EQ(IntegerText(0), "0");
    EXPECT_EQ(IntegerText(-15), "-15");
    EXPECT_EQ(IntegerText(123456), "123456");
    EXPECT_EQ(IntegerText(std::numeric_limits<std::int32_t>::max()), "2147483647");
    EXPECT_EQ(IntegerText(std::numeric_limits<std::int32_t>::min()), "-2147483648");
}

TEST(RealText, RoundsHalfAwayFromZeroAtTheDecimals)
{
    ExpectRealTexts({
        {4.0f, 2, "4.00"},
        {19.999f, 2, "20.00"},
        {-0.5f, 3, "-0.500"},
        {1234.5678f, 0, "1235"},
        {2.5f, 0, "3"},
        {-2.5f, 0, "-3"},
        {0.0f, 2, "0.00"},
        {0.0f, 0, "0"},
        {999.9999f, 2, "1000.00"}, // carry through every digit
        {-99.996f, 2, "-100.00"},
        {0.125f, 2, "0.13"},
        {7.0f, -3, "7"}, // a negative count as none
    });
}

TEST(RealText, RoundsTheExactFloatToTenDigitsFirst)
{
    ExpectRealTexts({
        // The float nearest 0.285 lies below it: 0.2849999964.
        {0.285f, 2, "0.28"},
        // Positions beyond the ten digits are zeros, not the float's own
        // digits (exactly 123456790528).
        {123456789012.0f, 1, "123456790500.0"},
        // Exact ties at the tenth digit go to the even digit: 2^-15 and
        // 3 * 2^-15 are 0.000030517578125 and 0.000091552734375.
        {0x1p-15f, 14, "0.00003051757812"},
        {0x3p-15f, 14, "0.00009155273438"},
    });
}

TEST(RealText, DroppedFourNinesEightOrNineAndOneDigitRoundUp)
{
    ExpectRealTexts({
        {1.005f, 2, "1.01"},      // 1.004999995
        {1.14499998f, 2, "1.15"}, // 1.144999981: 8 before the last digit
        {1.13499999f, 2, "1.14"}, // 1.134999990: a trailing 0 is a digit
        {1.005f, 3, "1.005"},     // 1.004999995 at 3 decimals: 9 rounds up
        {0.285f, 1, "0.3"},
        {1.004999995f, 1, "1.0"}, // dropped 04999995 starts with 0
    });
}

TEST(RealText, NegativeValueRoundingToZeroKeepsItsSign)
{
    ExpectRealTexts({
        {-0.001f, 2, "-0.00"},
        {-0.4f, 0, "-0"},
        {-1e-30f, 3, "-0.000"},
        {-0.0f, 2, "0.00"}, // zero itself is not negative
    });
}

TEST(RealText, StaysWithinThirtyOneCharactersWithoutShowingAnotherNumber)
{
    // The whole part fits: surplus decimals are cut.
    EXPECT_EQ(RealText(1.0f, 40), "1." + std::string(29, '0'));
    EXPECT_EQ(RealText(1e30f, 2), "1000000015000000000000000000000");
    EXPECT_EQ(RealText(1e31f, 2), "9999999848000000000000000000000");
    // It does not: the exponent form instead of the cut digits.
    EXPECT_EQ(RealText(3.0e38f, 2), "3.000000005E+38");
    EXPECT_EQ(RealText(-1e31f, 2), "-9.999999848E+30");
    EXPECT_EQ(RealText(std::numeric_limits<float>::max(), 0), "3.402823466E+38");
    for (float value : {3.0e38f, -3.0e38f, 1e31f, -1e30f, 1e20f, std::numeric_limits<float>::max()}) {
        const std::string text = RealText(value, 2);
        EXPECT_LE(text.size(), RealTextLimit) << text;
        EXPECT_EQ(RealFromText(text), value) << text;
    }
}

TEST(RealText, NonFiniteValues)
{
    const float infinity = std::numeric_limits<float>::infinity();
    EXPECT_EQ(RealText(infinity, 2), "inf");
    EXPECT_EQ(RealText(-infinity, 2), "-inf");
    EXPECT_EQ(RealText(std::numeric_limits<float>::quiet_NaN(), 2), "nan");
    EXPECT_EQ(RealAutoText(-infinity), "-inf");
    EXPECT_EQ(RealAutoText(std::numeric_limits<float>::quiet_NaN()), "nan");
    // What is shown can be typed back.
    EXPECT_EQ(RealFromText(RealText(-infinity, 2)), -infinity);
    EXPECT_TRUE(std::isnan(RealFromText(RealAutoText(std::numeric_limits<float>::quiet_NaN()))));
}

TEST(RealAutoText, TenSignificantDigitsWithSignedExponent)
{
    EXPECT_EQ(RealAutoText(1.0f), "1.000000000E+00");
    EXPECT_EQ(RealAutoText(-0.015625f), "-1.562500000E-02");
    // The float nearest -0.0125 is -0.0125000001862645...
    EXPECT_EQ(RealAutoText(-0.0125f), "-1.250000019E-02");
    EXPECT_EQ(RealAutoText(0.0f), "0.000000000E+00");
    EXPECT_EQ(RealAutoText(-0.0f), "0.000000000E+00");
    EXPECT_EQ(RealAutoText(1.005f), "1.004999995E+00");
    EXPECT_EQ(RealAutoText(0x1p-15f), "3.051757812E-05"); // tie to even
    EXPECT_EQ(RealAutoText(123456.0f), "1.234560000E+05");
    EXPECT_EQ(RealAutoText(std::numeric_limits<float>::max()), "3.402823466E+38");
    EXPECT_EQ(RealAutoText(std::numeric_limits<float>::denorm_min()), "1.401298464E-45");
}

TEST(NumberText, ShownRealsReadBackAsTheSameFloat)
{
    // Ten digits identify every float; walk the bit patterns in odd steps.
    int checked = 0;
    for (std::uint64_t bits = 0; bits <= 0xFFFFFFFFu; bits += 0x0001F3A5u) {
        const float value = std::bit_cast<float>(static_cast<std::uint32_t>(bits));
        if (!std::isfinite(value))
            continue;
        ASSERT_EQ(RealFromText(RealAutoText(value)), value) << RealAutoText(value);
        if (std::fabs(value) >= 1e7f) {
            ASSERT_EQ(RealFromText(RealText(value, 2)), value) << RealText(value, 2);
        }
        ++checked;
    }
    EXPECT_GT(checked, 30000);
}

TEST(HexDigits, LowestDigitsMostSignificantFirst)
{
    EXPECT_EQ(HexDigits(0xABCD, 4), "ABCD");
    EXPECT_EQ(HexDigits(0x1F, 1), "F");
    EXPECT_EQ(HexDigits(0x7, 3), "007");
    EXPECT_EQ(HexDigits(0xDEADBEEF, 8), "DEADBEEF");
    EXPECT_EQ(HexDigits(0x12345678, 10), "0012345678");
    EXPECT_EQ(HexDigits(0x12, 0), "");
    EXPECT_EQ(HexDigits(0x12, -1), "");
}

TEST(VersionText, MajorInOneOrTwoDigitsMinorInTwo)
{
    EXPECT_EQ(VersionText(0x0105), "1.05");
    EXPECT_EQ(VersionText(0x0A10), "0A.10");
    EXPECT_EQ(VersionText(0x1203), "12.03");
    EXPECT_EQ(VersionText(0x00FF), "0.FF");
    EXPECT_EQ(VersionText(0x0900), "9.00");
    EXPECT_EQ(VersionText(0x1000), "10.00");
    EXPECT_EQ(VersionText(0xFFFF), "FF.FF");
}

TEST(RangeText, BothEndsInFullWithDegrees)
{
    EXPECT_EQ(RangeText(-200, 850), "-200 a\xC5\xBE 850 \xC2\xB0"
                                    "C");
    EXPECT_EQ(RangeText(0, 1820), "0 až 1820 °C");
    EXPECT_EQ(RangeText(std::numeric_limits<std::int32_t>::min(), std::numeric_limits<std::int32_t>::min()),
              "-2147483648 až -2147483648 °C");
}
