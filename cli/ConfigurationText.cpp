#include "cli/ConfigurationText.h"

#include "cli/LabelledLines.h"
#include "config/DisplayDecimals.h"
#include "config/LiveValueTexts.h"
#include "device/ParameterTexts.h"
#include "framework/NumberText.h"

namespace texts = parameter_texts;

namespace {

template <typename T, typename Show> std::string textOf(const std::optional<T>& value, Show show)
{
    return value ? show(*value) : std::string(texts::CommunicationErrorText);
}

std::string realOrError(std::optional<float> value, int decimals)
{
    return textOf(value, [decimals](float v) { return number_text::RealText(v, decimals); });
}

std::string integerOrError(std::optional<std::int32_t> value)
{
    return textOf(value, [](std::int32_t v) { return number_text::IntegerText(v); });
}

void addInputKindLines(LabelledLines& lines, const ConverterReading& reading)
{
    if (!reading.input) {
        lines.add("Vstup", std::string(texts::CommunicationErrorText));
        return;
    }
    const InputPresentation& shown = *reading.input;
    if (!shown.listPosition) {
        lines.add("Vstup", "kód " + std::to_string(*reading.settings.inputType));
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

void addRelayLines(LabelledLines& lines, int relay, const std::optional<RelaySettings>& settings)
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

void addIdentityLines(LabelledLines& lines, const ConverterReading& reading)
{
    lines.add("Převodník", reading.identity);
    lines.add("Firmware", textOf(reading.firmwareVersion, number_text::VersionText));
    lines.add("Výrobní číslo", integerOrError(reading.serialNumber));
    lines.add("Výstup", textOf(reading.outputType,
                               [](std::uint8_t c) { return std::string(texts::OutputTypeText(c)); }));
    lines.add("Relé", textOf(reading.relayOptions,
                             [](std::uint8_t c) { return std::string(texts::RelayOptionsText(c)); }));
}

void addInputLines(LabelledLines& lines, const ConverterReading& reading)
{
    addInputKindLines(lines, reading);
    lines.add("Dělič [-]", realOrError(reading.settings.divider, display_decimals::Divider));
    lines.add("Bočník [ohm]", realOrError(reading.settings.shunt, display_decimals::Shunt));
    lines.add("Rozsah min", realOrError(reading.settings.rangeMin, display_decimals::Range));
    lines.add("Rozsah max", realOrError(reading.settings.rangeMax, display_decimals::Range));
    lines.add("Řád polynomu",
              textOf(reading.settings.curveDegree, [](std::uint8_t d) { return std::to_string(d); }));
    lines.add("Segmentů",
              textOf(reading.settings.segmentCount, [](std::uint8_t n) { return std::to_string(n); }));
}

void printConfigurationText(std::ostream& out, const ConverterReading& reading)
{
    const Configuration& settings = reading.settings;
    LabelledLines lines;
    addIdentityLines(lines, reading);
    lines.gap();
    addInputLines(lines, reading);
    lines.add("Filtr", textOf(settings.filter, [](std::uint8_t f) { return std::to_string(f); }));
    lines.add("Min", realOrError(settings.scaleMin, display_decimals::Scale));
    lines.add("Max", realOrError(settings.scaleMax, display_decimals::Scale));
    lines.add("Chybový stav", textOf(settings.errorSignalling, [](std::uint8_t c) {
                  const std::string_view text = texts::ErrorSignallingText(c);
                  return text.empty() ? "kód " + std::to_string(c) : std::string(text);
              }));
    lines.gap();
    lines.add("Interní hodnoty", "");
    for (LiveQuantity quantity : LiveQuantities) {
        const std::optional<float> value = liveOf(reading.live, quantity);
        lines.add("  " + std::string(liveLabel(quantity)),
                  value ? liveText(quantity, value) : std::string(texts::CommunicationErrorText));
    }
    lines.gap();
    addRelayLines(lines, 1, settings.relay1);
    addRelayLines(lines, 2, settings.relay2);
    lines.print(out);
}
