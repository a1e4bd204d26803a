#include "config/LiveValueTexts.h"

#include "config/Configuration.h"
#include "device/ParameterTexts.h"
#include "framework/NumberText.h"

#include <bit>
#include <charconv>
#include <cstdint>

std::string_view liveLabel(LiveQuantity quantity)
{
    constexpr std::array<std::string_view, 4> labels = {"Vstup", "Proces", "Hodnota", "Ratio [%]"};
    return labels[static_cast<std::size_t>(quantity)];
}

std::string_view liveKey(LiveQuantity quantity)
{
    constexpr std::array<std::string_view, 4> keys = {"input", "process", "value", "ratio"};
    return keys[static_cast<std::size_t>(quantity)];
}

std::optional<float> liveOf(const LiveReading& live, LiveQuantity quantity)
{
    switch (quantity) {
    case LiveQuantity::Input:
        return live.input;
    case LiveQuantity::Process:
        return live.process;
    case LiveQuantity::Value:
        return live.value;
    case LiveQuantity::Ratio:
        return live.ratio;
    }
    return std::nullopt;
}

std::optional<std::string_view> liveFault(LiveQuantity quantity, float value)
{
    if (quantity == LiveQuantity::Ratio || !isFaultPattern(value))
        return std::nullopt;
    return quantity == LiveQuantity::Value ? parameter_texts::LiveInvalidText
                                           : parameter_texts::LiveFaultText;
}

std::string liveText(LiveQuantity quantity, std::optional<float> value)
{
    if (!value)
        return {};
    if (auto fault = liveFault(quantity, *value))
        return std::string(*fault);
    switch (quantity) {
    case LiveQuantity::Input:
    case LiveQuantity::Process:
        return number_text::RealText(*value, 3);
    case LiveQuantity::Value:
        return number_text::RealText(*value, 2);
    case LiveQuantity::Ratio:
        return number_text::RealText(*value * 100.0f, 2);
    }
    return {};
}

std::string liveExactText(LiveQuantity quantity, std::optional<float> value)
{
    if (!value)
        return {};
    if (auto fault = liveFault(quantity, *value))
        return std::string(*fault);
    if (quantity != LiveQuantity::Ratio)
        return realText(*value);
    // The per cent text with the fewest digits whose hundredth, as float32,
    // is the fraction the converter sent: 0.001 is "0.1", not
    // "0.10000000474974513".
    const double percent = static_cast<double>(*value) * 100.0;
    char text[32];
    char* end = text;
    for (int digits = 1; digits <= 17; ++digits) {
        end = std::to_chars(text, text + sizeof text, percent, std::chars_format::general, digits).ptr;
        double back = 0;
        std::from_chars(text, end, back);
        if (std::bit_cast<std::uint32_t>(static_cast<float>(back / 100.0)) == std::bit_cast<std::uint32_t>(*value)) {
            end = std::to_chars(text, text + sizeof text, back).ptr; // "50", not "5e+01"
            break;
        }
    }
    return std::string(text, end);
}

Json liveJson(const LiveReading& live)
{
    Json json = Json::object();
    Json faults = Json::object();
    for (LiveQuantity quantity : LiveQuantities) {
        const std::string key(liveKey(quantity));
        const std::optional<float> value = liveOf(live, quantity);
        const std::optional<std::string_view> fault = value ? liveFault(quantity, *value) : std::nullopt;
        json[key] = value && !fault ? Json(*value) : Json(nullptr);
        if (fault)
            faults[key] = std::string(*fault);
    }
    json["faults"] = faults;
    return json;
}
