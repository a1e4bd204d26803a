#include "device/ParameterTexts.h"

namespace parameter_texts {

std::optional<InputTypeDescription> DescribeInputType(std::uint8_t code)
{
    static constexpr std::array<InputTypeDescription, MaxInputType + 1> table = {{
        {InputKind::Voltage, "InA (100 mV)"},
        {InputKind::Voltage, "InA (1 V)"},
        {InputKind::Voltage, "10 V"},
        {InputKind::Current, "InA (externí bočník)"},
        {InputKind::Current, "20 mA"},
        {InputKind::Resistance, ResistanceConnectionTexts[0]},
        {InputKind::Resistance, ResistanceConnectionTexts[1]},
        {InputKind::Resistance, ResistanceConnectionTexts[2]},
        {InputKind::Resistance, ResistanceConnectionTexts[3]},
        {InputKind::Potentiometer, PotentiometerTypeTexts[0]},
        {InputKind::Potentiometer, PotentiometerTypeTexts[0]},
        {InputKind::Potentiometer, PotentiometerTypeTexts[1]},
        {InputKind::Potentiometer, PotentiometerTypeTexts[1]},
        {InputKind::Thermocouple, {}},
        {InputKind::Thermocouple, {}},
        {InputKind::Thermocouple, {}},
    }};
    if (code > MaxInputType)
        return std::nullopt;
    return table[code];
}

std::string_view OutputTypeText(std::uint8_t code)
{
    return OutputTypeTexts[code % OutputTypeTexts.size()];
}

std::string_view RelayOptionsText(std::uint8_t code)
{
    return RelayOptionsTexts[code & 3];
}

std::string_view ErrorSignallingText(std::uint8_t code)
{
    return code < ErrorSignallingTexts.size() ? ErrorSignallingTexts[code] : std::string_view{};
}

} // namespace parameter_texts
