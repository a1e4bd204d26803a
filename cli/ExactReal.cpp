#include "cli/ExactReal.h"

#include "linearization/FloatRange.h"

#include <nlohmann/json.hpp>

#include <bit>
#include <charconv>
#include <cmath>
#include <cstdint>

namespace exact_real {
namespace {

// Through the same writer and reader as the file, so the check holds for
// whatever the platform's number conversions do.
bool readsBackAs(double number, float value)
{
    const double read = nlohmann::json::parse(nlohmann::json(number).dump()).get<double>();
    const std::optional<float> narrowed = fromJson(read);
    return narrowed && std::bit_cast<std::uint32_t>(*narrowed) == std::bit_cast<std::uint32_t>(value);
}

} // namespace

std::optional<double> toJson(float value)
{
    if (!std::isfinite(value))
        return std::nullopt;
    char text[32];
    const auto written = std::to_chars(text, text + sizeof text, value);
    double shortest = 0;
    std::from_chars(text, written.ptr, shortest);
    if (readsBackAs(shortest, value))
        return shortest;
    const double exact = value;
    if (readsBackAs(exact, value))
        return exact;
    return std::nullopt; // a reader that cannot even read back a double's own digits
}

std::optional<float> fromJson(double value)
{
    if (!fitsFloat(value))
        return std::nullopt;
    return static_cast<float>(value);
}

} // namespace exact_real
