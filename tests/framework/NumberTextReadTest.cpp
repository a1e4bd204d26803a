#include "framework/NumberText.h"

#include <gtest/gtest.h>

#include <clocale>
#include <cmath>
#include <cstdint>
#include <cstring>
#include <limits>
#include <string>

using namespace number_text;

namespace {

struct IntegerCase {
    const char* text;
    std::int32_t value;
};

struct ReadCase {
    const char* text;
    float value;
};

void ExpectIntegers(std::initializer_list<IntegerCase> cases)
{
    for (const IntegerCase& c : cases)
        EXPECT_EQ(IntegerFromText(c.text), c.value) << '"' << c.text << '"';
}

void ExpectReals(std::initializer_list<ReadCase> cases)
{
    for (const ReadCase& c : cases)
        EXPECT_EQ(RealFromText(c.text), c.value) << '"' << c.text << '"';
}

constexpr std::int32_t Int32Min = std::numeric_limits<std::int32_t>::min();
constexpr std::int32_t Int32Max = std::numeric_limits<std::int32_t>::max();
constexpr float Infinity = std::numeric_limits<float>::infinity();

} // namespace

TEST(IntegerFromText, DecimalWithBlanksAndSign)
{
    ExpectIntegers({
        {"0", 0},
        {"42", 42},
        {"08", 8}, // a leading zero is not octal
        {"  \t-15", -15},
        {"+7", 7},
        {"2147483647", Int32Max},
        {"-2147483648", Int32Min},
    });
}

TEST(IntegerFromText, RadixPrefixes)
{
    ExpectIntegers({
        {"$1F", 31},
        {"$1f", 31},
        {"x10", 16},
        {"X10", 16},
        {"0x1F", 31},
        {"0XaB", 171},
        {"%101", 5},
        {"&17", 15},
        {" -$10", -16},
        // All 32 bits, taken as the pattern.
        {"$FFFFFFFF", -1},
        {"$80000000", Int32Min},
        {"%100000000000", 0x800},
        {"&37777777777", -1},
    });
}

TEST(IntegerFromText, AnythingElseGivesZero)
{
    ExpectIntegers({
        {"", 0},           {"   ", 0},         {"12a", 0},
        {"12 ", 0},        {"1 2", 0},         {"1.5", 0},
        {"1e3", 0},        {"-", 0},           {"+-5", 0},
        {"- 5", 0},        {"$", 0},           {"0x", 0},
        {"$G", 0},         {"&8", 0},          {"%102", 0},
        {"$-1", 0},        {"0b101", 0},       {"\xEF\xBC\x91", 0},
        {"2147483648", 0}, {"-2147483649", 0}, {"12345678901", 0},
        {"$100000000", 0}, {"\n5", 0},
    });
}

TEST(IntegerFromText, ReadsOnlyTheFirstFifteenCharacters)
{
    ExpectIntegers({
        {"000000000000012345", 12},
        {"              7x", 7},
        {"%1111111111111111", 0x3FFF},
        {"12345678901234567890", 0}, // 15 digits still overflow
    });
}

TEST(RealFromText, DecimalGrammar)
{
    ExpectReals({
        {"1e3", 1000.0f},
        {" 7.25", 7.25f},
        {"\t7.25", 7.25f},
        {"-0.5", -0.5f},
        {"+2", 2.0f},
        {".5", 0.5f},
        {"5.", 5.0f},
        {"1E-2", 0.01f},
        {"2.5e+2", 250.0f},
        {"0.1", 0.1f},
        {"007", 7.0f},
    });
    EXPECT_TRUE(std::signbit(RealFromText("-0")));
}

TEST(RealFromText, AnythingElseGivesZero)
{
    for (const char* text : {"", "   ", "7.25 ", "1,5", "12.5 V", ".", "e5", "1e", "1e+", "1 e3", "0x10",
                             "1.5.2", "--1", "- 1", "1e3.5", "infin", "inf ", "nan(1)",
                             "\xC2\xA0"
                             "1"}) {
        const float value = RealFromText(text);
        EXPECT_EQ(value, 0.0f) << '"' << text << '"';
        EXPECT_FALSE(std::signbit(value)) << '"' << text << '"';
    }
}

TEST(RealFromText, InfinityAndNotANumberWords)
{
    ExpectReals({{"inf", Infinity}, {"INF", Infinity}, {"-Infinity", -Infinity}, {" +inf", Infinity}});
    EXPECT_TRUE(std::isnan(RealFromText("nan")));
    EXPECT_TRUE(std::isnan(RealFromText("-NaN")));
}

TEST(RealFromText, OutOfFloatRange)
{
    constexpr float Largest = std::numeric_limits<float>::max();
    ExpectReals({
        {"1e39", Infinity},
        {"-1e39", -Infinity},
        {"1e99999", Infinity},
        {"1e-99999", 0.0f},
        {"1e-50", 0.0f},
        // Halfway between the largest float and 2^128 is 3.40282356779733661637...e38.
        {"3.4028235677e38", Largest},
        {"3.4028235678e38", Infinity},
        {"-3.4028235677e38", -Largest},
        {"1.401298464e-45", std::numeric_limits<float>::denorm_min()},
    });
}

TEST(RealFromText, ReadsInExtendedPrecisionThenRoundsToFloat)
{
    // 1 + 2^-24 lies halfway between 1 and the next float.
    const float next = std::nextafter(1.0f, 2.0f);
    // 1e-17 above it: kept in 80 bits, so the float rounds up (lost in double).
    EXPECT_EQ(RealFromText("1.000000059604644785390625"), next);
    // 1e-25 above it: lost in 80 bits, the exact tie goes to the even 1.0
    // (a direct rounding to float would give the next float).
    EXPECT_EQ(RealFromText("1.0000000596046447753906251"), 1.0f);
}

TEST(RealFromText, ReadsOnlyTheFirstThirtyOneCharacters)
{
    const std::string digits31 = "1234567890123456789012345678901";
    EXPECT_EQ(RealFromText(digits31 + "234"), RealFromText(digits31));
    EXPECT_NE(RealFromText(digits31), RealFromText(digits31.substr(0, 30)));
    EXPECT_EQ(RealFromText(std::string(30, ' ') + "5"), 5.0f);
    EXPECT_EQ(RealFromText(std::string(31, ' ') + "5"), 0.0f);
    EXPECT_EQ(RealFromText(std::string(30, '0') + "1 V"), 1.0f);
    EXPECT_EQ(RealFromText("1.5" + std::string(28, '0') + "x"), 1.5f);
}

TEST(RealFromText, PointStaysTheDecimalPointUnderAnyLocale)
{
    const std::string previous = std::setlocale(LC_NUMERIC, nullptr);
    bool commaLocale = false;
    for (const char* name :
         {"de_DE.UTF-8", "cs_CZ.UTF-8", "German_Germany.1252", "Czech_Czechia.1250", "de-DE"}) {
        if (std::setlocale(LC_NUMERIC, name) != nullptr &&
            std::strcmp(std::localeconv()->decimal_point, ",") == 0) {
            commaLocale = true;
            break;
        }
    }
    if (!commaLocale) {
        std::setlocale(LC_NUMERIC, previous.c_str());
        GTEST_SKIP() << "no locale with a decimal comma on this system";
    }
    const float point = RealFromText("12.5");
    const float comma = RealFromText("12,5");
    std::setlocale(LC_NUMERIC, previous.c_str());
    EXPECT_EQ(point, 12.5f);
    EXPECT_EQ(comma, 0.0f);
}

TEST(ReadNumber, TellsUnreadableTextFromZero)
{
    EXPECT_EQ(ReadInteger(" -0"), 0);
    EXPECT_EQ(ReadInteger("$0"), 0);
    EXPECT_EQ(ReadInteger("-$1"), -1);
    EXPECT_EQ(ReadInteger("0 "), std::nullopt);
    EXPECT_EQ(ReadInteger("2147483648"), std::nullopt);
    EXPECT_EQ(ReadReal("0.0e5"), 0.0f);
    EXPECT_EQ(ReadReal("1e-99999"), 0.0f); // too small for a float, but a number
    EXPECT_EQ(ReadReal("-2.5"), -2.5f);
    EXPECT_EQ(ReadReal("0,0"), std::nullopt);
    EXPECT_EQ(ReadReal(""), std::nullopt);
}

TEST(FirstCharacters, CountsCharactersNotBytes)
{
    EXPECT_EQ(FirstCharacters("žluťoučký kůň", 5), "žluťo");
    EXPECT_EQ(FirstCharacters("12 °C", 4), "12 °");
    EXPECT_EQ(FirstCharacters("abc", 0), "");
    EXPECT_EQ(FirstCharacters("abc", 3), "abc");
    EXPECT_EQ(FirstCharacters("abc", 100), "abc");
    EXPECT_EQ(FirstCharacters("", 5), "");
}
