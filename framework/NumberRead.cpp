#include "framework/NumberText.h"

#include <algorithm>
#include <clocale>
#include <cstdlib>
#include <cstring>
#include <limits>

namespace number_text {
namespace {

bool IsBlank(char c)
{
    return c == ' ' || c == '\t';
}
bool IsDigit(char c)
{
    return c >= '0' && c <= '9';
}

std::string_view SkipBlanks(std::string_view text)
{
    while (!text.empty() && IsBlank(text.front()))
        text.remove_prefix(1);
    return text;
}

// Takes an optional "+" or "-" off the front; true for "-".
bool TakeSign(std::string_view& text)
{
    if (text.empty() || (text.front() != '+' && text.front() != '-'))
        return false;
    const bool negative = text.front() == '-';
    text.remove_prefix(1);
    return negative;
}

int DigitValue(char c)
{
    if (IsDigit(c))
        return c - '0';
    if (c >= 'a' && c <= 'f')
        return c - 'a' + 10;
    if (c >= 'A' && c <= 'F')
        return c - 'A' + 10;
    return -1;
}

// Takes a radix prefix off the front and returns the base it stands for.
int TakeRadix(std::string_view& text)
{
    if (text.starts_with("0x") || text.starts_with("0X")) {
        text.remove_prefix(2);
        return 16;
    }
    if (text.empty())
        return 10;
    switch (text.front()) {
    case '$':
    case 'x':
    case 'X':
        text.remove_prefix(1);
        return 16;
    case '%':
        text.remove_prefix(1);
        return 2;
    case '&':
        text.remove_prefix(1);
        return 8;
    default:
        return 10;
    }
}

std::size_t CountDigits(std::string_view text)
{
    std::size_t count = 0;
    while (count < text.size() && IsDigit(text[count]))
        ++count;
    return count;
}

bool EqualsIgnoringCase(std::string_view text, std::string_view lowerWord)
{
    return std::equal(text.begin(), text.end(), lowerWord.begin(), lowerWord.end(),
                      [](char c, char w) { return (c >= 'A' && c <= 'Z' ? c - 'A' + 'a' : c) == w; });
}

float RoundToFloat(long double value)
{
    constexpr float Infinity = std::numeric_limits<float>::infinity();
    if (!FitsFloat(value))
        return value < 0 ? -Infinity : Infinity;
    return static_cast<float>(value);
}

long double ReadExtended(std::string_view decimalText)
{
    // strtold takes the current locale's decimal point; the typed text
    // always has ".".
    std::string text(decimalText);
    const char* point = std::localeconv()->decimal_point;
    if (point != nullptr && std::strcmp(point, ".") != 0) {
        const std::size_t at = text.find('.');
        if (at != std::string::npos)
            text.replace(at, 1, point);
    }
    return std::strtold(text.c_str(), nullptr);
}

} // namespace

bool IsDecimalReal(std::string_view text)
{
    TakeSign(text);
    std::size_t mantissaDigits = CountDigits(text);
    text.remove_prefix(mantissaDigits);
    if (!text.empty() && text.front() == '.') {
        text.remove_prefix(1);
        const std::size_t fractionDigits = CountDigits(text);
        mantissaDigits += fractionDigits;
        text.remove_prefix(fractionDigits);
    }
    if (mantissaDigits == 0)
        return false;
    if (text.empty())
        return true;
    if (text.front() != 'e' && text.front() != 'E')
        return false;
    text.remove_prefix(1);
    TakeSign(text);
    const std::size_t exponentDigits = CountDigits(text);
    return exponentDigits > 0 && exponentDigits == text.size();
}

std::string_view FirstCharacters(std::string_view text, std::size_t count)
{
    std::size_t characters = 0;
    for (std::size_t i = 0; i < text.size(); ++i) {
        const bool continuation = (static_cast<unsigned char>(text[i]) & 0xC0) == 0x80;
        if (continuation)
            continue;
        if (characters == count)
            return text.substr(0, i);
        ++characters;
    }
    return text;
}

std::optional<std::int32_t> ReadInteger(std::string_view text)
{
    std::string_view rest = SkipBlanks(FirstCharacters(text, IntegerReadLimit));
    const bool negative = TakeSign(rest);
    const int base = TakeRadix(rest);
    if (rest.empty())
        return std::nullopt;
    std::uint64_t magnitude = 0;
    for (const char c : rest) {
        const int digit = DigitValue(c);
        if (digit < 0 || digit >= base)
            return std::nullopt;
        magnitude = magnitude * base + digit;
        if (magnitude > 0xFFFFFFFFu)
            return std::nullopt;
    }
    if (base == 10) {
        const std::uint64_t limit = negative ? 0x80000000u : 0x7FFFFFFFu;
        if (magnitude > limit)
            return std::nullopt;
    }
    // A prefixed number is a 32-bit pattern; a sign negates it modulo 2^32.
    std::uint32_t pattern = static_cast<std::uint32_t>(magnitude);
    if (negative)
        pattern = 0u - pattern;
    return static_cast<std::int32_t>(pattern);
}

std::optional<float> ReadReal(std::string_view text)
{
    const std::string_view number = SkipBlanks(FirstCharacters(text, RealReadLimit));
    std::string_view body = number;
    const bool negative = TakeSign(body);
    if (EqualsIgnoringCase(body, "inf") || EqualsIgnoringCase(body, "infinity"))
        return negative ? -std::numeric_limits<float>::infinity() : std::numeric_limits<float>::infinity();
    if (EqualsIgnoringCase(body, "nan"))
        return std::numeric_limits<float>::quiet_NaN();
    if (!IsDecimalReal(number))
        return std::nullopt;
    return RoundToFloat(ReadExtended(number));
}

std::int32_t IntegerFromText(std::string_view text)
{
    return ReadInteger(text).value_or(0);
}

float RealFromText(std::string_view text)
{
    return ReadReal(text).value_or(0.0f);
}

} // namespace number_text
