// The live values as a log for scripts writes them: every value exactly,
// in as few digits as that takes; the window's decimals only in text.
#include "config/LiveValueTexts.h"

#include <gtest/gtest.h>

#include <bit>
#include <charconv>
#include <cstdint>
#include <string>

namespace {

float percentReadBack(const std::string& text)
{
    double percent = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), percent);
    EXPECT_EQ(error, std::errc()) << text;
    EXPECT_EQ(end, text.data() + text.size()) << text;
    return static_cast<float>(percent / 100.0);
}

// "0.0125" 3, "50" 1, "1e-05" 1.
int significantDigits(const std::string& text)
{
    std::string mantissa = text.substr(0, text.find_first_of("eE"));
    if (mantissa.find('.') == std::string::npos)
        mantissa.erase(mantissa.find_last_not_of('0') + 1);
    int digits = 0;
    bool leading = true;
    for (char c : mantissa) {
        if (c < '0' || c > '9')
            continue;
        leading = leading && c == '0';
        digits += leading ? 0 : 1;
    }
    return digits;
}

} // namespace

TEST(liveExactText, RatioInPerCentReadsBackToTheSameFloatInTheFewestDigits)
{
    EXPECT_EQ(liveExactText(LiveQuantity::Ratio, 0.001f), "0.1");
    EXPECT_EQ(liveExactText(LiveQuantity::Ratio, 0.5f), "50");
    EXPECT_EQ(liveExactText(LiveQuantity::Ratio, 0.45629f), "45.629");
    EXPECT_EQ(liveExactText(LiveQuantity::Ratio, 1e-7f), "1e-05");
    EXPECT_EQ(liveText(LiveQuantity::Ratio, 0.45629f), "45.63"); // the window's two decimals

    // Fractions across the range, every bit pattern a step apart: each text
    // reads back bit for bit, and one digit fewer never would.
    std::uint32_t bits = std::bit_cast<std::uint32_t>(1e-6f);
    for (int i = 0; i < 20000; ++i, bits += 52361) {
        const float ratio = std::bit_cast<float>(bits);
        if (ratio > 2.0f)
            break;
        const std::string text = liveExactText(LiveQuantity::Ratio, ratio);
        ASSERT_EQ(std::bit_cast<std::uint32_t>(percentReadBack(text)), bits) << text;
        const int digits = significantDigits(text);
        if (digits > 1) {
            char shorter[32];
            char* end = std::to_chars(shorter, shorter + sizeof shorter, static_cast<double>(ratio) * 100.0,
                                      std::chars_format::general, digits - 1)
                            .ptr;
            EXPECT_NE(std::bit_cast<std::uint32_t>(percentReadBack(std::string(shorter, end))), bits) << text;
        }
    }
}
