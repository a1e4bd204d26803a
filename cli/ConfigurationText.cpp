#include "cli/ConfigurationText.h"

#include "cli/LabelledLines.h"
#include "config/DisplayDecimals.h"
#include "config/LiveValueTexts.h"
#include "device/ParameterTexts.h"
#include "framework/NumberText.h"

namespace texts = parameter_texts;

namespace {

template <typename T, typename Show> std::string TextOf(const std::optional<T>& value, Show show)
{
    return value ? show(*value) : std::string(texts::CommunicationErrorText);
}

std::string Real(std::optional<float> value, int decimals)
{
    return TextOf(value, [decimals](float v) { return number_text::RealText(v, decimals); });
}

std::string Integer(std::optional<std::int32_t> value)
{
    return TextOf(value, [](std::int32_t v) { return number_text::IntegerText(v); });
}

void AddInputKindLines(LabelledLines& lines, const ConfigurationReading& reading)
{
    if (!reading.input) {
        lines.add("Vstup", std::string(texts::CommunicationErrorText));
        return;
    }
    const InputPresentation& shown = *reading.input;
    if (!shown.listPosition) {
        lines.add("Vstup", "kód " + std::to_string(*reading.all.inputType));
        return;
    }
    lines.add("Vstup", std::string(texts::InputKindTexts[static_cast<std::size_t>(*shown.listPosition)]));
    if (shown.measurement)
        lines.add("Měření", *shown.measurement);
    if (!shown.wiring.empty()) {
        const bool thermocouple = *shown.listPosition == static_cast<int>(texts::InputKind::Thermocouple);
        lines.add(thermocouple ? "Kompenzace" : "Zapojení", std::string(shown.wiring));
    }
}

void AddRelayLines(LabelledLines& lines, int relay, const std::optional<RelaySettings>& settings)
{
    const std::string label = "Relé " + std::to_string(relay);
    if (!settings) {
        lines.add(label, std::string(texts::CommunicationErrorText));
        return;
    }
    const std::string_view mode =
        settings->mode < texts::RelayModeTexts.size() ? texts::RelayModeTexts[settings->mode] : "?";
    lines.add(label, std::string(mode) + (mode == "?" ? " (" + std::to_string(settings->mode) + ")" : ""));
    lines.add("  Sepnutí", number_text::RealText(settings->onValue, display_decimals::Relay) + ", zpoždění " +
                               std::to_string(settings->onDelay));
    lines.add("  Rozepnutí", number_text::RealText(settings->offValue, display_decimals::Relay) +
                                 ", zpoždění " + std::to_string(settings->offDelay));
}

} // namespace

void AddIdentityLines(LabelledLines& lines, const ConfigurationReading& reading)
{
    const ConverterReading& all = reading.all;
    lines.add("Převodník", reading.identity);
    lines.add("Firmware", TextOf(all.firmwareVersion, number_text::VersionText));
    lines.add("Výrobní číslo", Integer(all.serialNumber));
    lines.add("Výstup",
              TextOf(all.outputType, [](std::uint8_t c) { return std::string(texts::OutputTypeText(c)); }));
    lines.add("Relé", TextOf(all.relayOptions,
                             [](std::uint8_t c) { return std::string(texts::RelayOptionsText(c)); }));
}

void AddInputLines(LabelledLines& lines, const ConfigurationReading& reading)
{
    AddInputKindLines(lines, reading);
    lines.add("Dělič [-]", Real(reading.divider, display_decimals::Divider));
    lines.add("Bočník [ohm]", Real(reading.shunt, display_decimals::Shunt));
    lines.add("Rozsah min", Real(reading.rangeMin, display_decimals::Range));
    lines.add("Rozsah max", Real(reading.rangeMax, display_decimals::Range));
    lines.add("Řád polynomu",
              TextOf(reading.all.curveDegree, [](std::uint8_t d) { return std::to_string(d); }));
    lines.add("Segmentů", TextOf(reading.segmentCount, [](std::uint8_t n) { return std::to_string(n); }));
}

void PrintConfigurationText(std::ostream& out, const ConfigurationReading& reading)
{
    const ConverterReading& all = reading.all;
    LabelledLines lines;
    AddIdentityLines(lines, reading);
    lines.gap();
    AddInputLines(lines, reading);
    lines.add("Filtr", TextOf(all.filter, [](std::uint8_t f) { return std::to_string(f); }));
    lines.add("Min", Real(all.scaleMin, display_decimals::Scale));
    lines.add("Max", Real(all.scaleMax, display_decimals::Scale));
    lines.add("Chybový stav", TextOf(all.errorSignalling, [](std::uint8_t c) {
                  const std::string_view text = texts::ErrorSignallingText(c);
                  return text.empty() ? "kód " + std::to_string(c) : std::string(text);
              }));
    lines.gap();
    lines.add("Interní hodnoty", "");
    for (LiveQuantity quantity : LiveQuantities) {
        const std::optional<float> value = LiveOf(all.live, quantity);
        lines.add("  " + std::string(LiveLabel(quantity)),
                  value ? LiveText(quantity, value) : std::string(texts::CommunicationErrorText));
    }
    lines.gap();
    AddRelayLines(lines, 1, all.relay1);
    AddRelayLines(lines, 2, all.relay2);
    lines.print(out);
}

