#include "config/UserNumbers.h"

#include <charconv>
#include <cmath>

namespace {

bool isPlain(std::string_view text)
{
    // from_chars also reads "inf", "nan" and hexadecimal digits: allow
    // only what a real typed in decimal looks like.
    for (char c : text)
        if (!((c >= '0' && c <= '9') || c == '.' || c == '-' || c == '+' || c == 'e' || c == 'E'))
            return false;
    return !text.empty() && text.front() != '+';
}

} // namespace

std::optional<float> readUserReal(std::string_view text)
{
    if (!isPlain(text))
        return std::nullopt;
    float value = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (error != std::errc{} || end != text.data() + text.size() || !std::isfinite(value))
        return std::nullopt;
    return value;
}

std::optional<std::int64_t> readUserInteger(std::string_view text, std::int64_t low, std::int64_t high)
{
    std::int64_t value = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (text.empty() || error != std::errc{} || end != text.data() + text.size() || value < low ||
        value > high)
        return std::nullopt;
    return value;
}

std::string realProblem(std::string_view text)
{
    if (readUserReal(text))
        return {};
    const std::string quoted = "\"" + std::string(text) + "\"";
    if (text.find(',') != std::string_view::npos)
        return quoted + " has a decimal comma: write numbers with a decimal point (12.5, not 12,5)";
    double wide = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), wide);
    if (isPlain(text) && end == text.data() + text.size() &&
        (error == std::errc::result_out_of_range || (error == std::errc{} && std::isfinite(wide))))
        return quoted + " is outside the range of the converter's float32 reals (about 1.2e-38 to 3.4e38 in size)";
    return quoted + " is not a number (write e.g. 12.5 or -0.25)";
}

std::string integerProblem(std::string_view text, std::int64_t low, std::int64_t high)
{
    if (readUserInteger(text, low, high))
        return {};
    const std::string range = std::to_string(low) + ".." + std::to_string(high);
    if (readUserInteger(text, INT64_MIN, INT64_MAX))
        return "\"" + std::string(text) + "\" is outside " + range;
    return "\"" + std::string(text) + "\" is not a whole number in " + range;
}
