#include "report/CommissioningRecord.h"
#include "framework/CzechPlural.h"

#include "config/ConverterReading.h"
#include "report/ConverterCurve.h"
#include "config/DisplayDecimals.h"
#include "config/LiveValueTexts.h"
#include "config/LocalTime.h"
#include "device/ParameterTexts.h"
#include "framework/NumberText.h"
#include "inputs/RtdCurve.h"
#include "inputs/ThermocoupleCurve.h"

namespace texts = parameter_texts;
using texts::InputKind;
using Row = RecordPage::Row;

namespace {

template <typename T, typename Show> Row rowOf(std::string label, const std::optional<T>& value, Show show)
{
    return value ? Row{std::move(label), show(*value)} : Row{std::move(label), {}, true};
}

Row realRow(std::string label, std::optional<float> value, int decimals, std::string unit = {})
{
    return rowOf(std::move(label), value, [&](float v) {
        return number_text::RealText(v, decimals) + (unit.empty() ? "" : " " + unit);
    });
}

std::string codeText(std::uint8_t code)
{
    return "kód " + std::to_string(code);
}

// The unit of RangeMin and RangeMax, where the input kind fixes it.
std::string rangeUnit(InputKind kind)
{
    switch (kind) {
    case InputKind::Current:
        return "mA";
    case InputKind::Resistance:
    case InputKind::Thermometer:
        return "ohm";
    case InputKind::Thermocouple:
        return "mV";
    default:
        return {};
    }
}

RecordPage::Section identitySection(const ConverterReading& reading)
{
    return {"Převodník",
            {Row{"Převodník", reading.identity},
             rowOf("Firmware", reading.firmwareVersion, number_text::VersionText),
             rowOf("Výrobní číslo", reading.serialNumber, number_text::IntegerText),
             rowOf("Výstup", reading.outputType,
                   [](std::uint8_t c) { return std::string(texts::OutputTypeText(c)); }),
             rowOf("Relé", reading.relayOptions,
                   [](std::uint8_t c) { return std::string(texts::RelayOptionsText(c)); })}};
}

void addLinearizationRow(std::vector<Row>& rows, const ConverterReading& reading)
{
    const InputPresentation& shown = *reading.input;
    if (shown.rtdCurve || shown.thermocoupleCurve) {
        const SensorCurve* sensor =
            shown.rtdCurve ? static_cast<const SensorCurve*>(*shown.rtdCurve) : *shown.thermocoupleCurve;
        if (sensor) { // named under "Měření" already
            if (!reading.settings.segmentCount) // a table would stand before the sensor's curve
                rows.push_back({"Linearizace", {}, true});
            if (const RtdCurve* rtd = shown.rtdCurve ? *shown.rtdCurve : nullptr)
                rows.push_back({"Teplota", number_text::RangeText(rtd->tmin(), rtd->tmax())});
            if (const ThermocoupleCurve* type = shown.thermocoupleCurve ? *shown.thermocoupleCurve : nullptr)
                rows.push_back({"Teplota", number_text::RangeText(type->tmin(), type->tmax())});
            return;
        }
        if (shown.thermocoupleCurve) {
            rows.push_back({"Senzor", "nerozpoznán"});
            return;
        }
    }
    const auto& degree = reading.settings.curveDegree;
    const auto& segments = reading.settings.segmentCount;
    if (!degree || !segments)
        rows.push_back({"Linearizace", {}, true});
    else if (*segments > 0)
        rows.push_back({"Linearizace", "Lineární spline, " + segmentCountText(*segments)});
    else if (*degree > 0)
        rows.push_back({"Linearizace", "Aproximační polynom, " + std::to_string(*degree) + ". řádu"});
    else
        rows.push_back({"Linearizace", "Vypnuta"});
    // Unused while the linearization is off, but a failed read is still told.
    if (*degree == 0 && !reading.settings.curveCoefficients)
        rows.push_back({"Koeficienty polynomu", {}, true});
}

RecordPage::Section inputSection(const ConverterReading& reading)
{
    const Configuration& settings = reading.settings;
    RecordPage::Section section{"Vstup", {}};
    auto& rows = section.rows;
    std::optional<InputKind> kind;
    if (!reading.input) {
        rows.push_back({"Vstup", {}, true});
    } else if (!reading.input->listPosition) {
        rows.push_back({"Vstup", codeText(*settings.inputType)});
    } else {
        const InputPresentation& shown = *reading.input;
        kind = static_cast<InputKind>(*shown.listPosition);
        rows.push_back({"Vstup", std::string(texts::InputKindTexts[static_cast<std::size_t>(*kind)])});
        if (shown.measurement && !shown.measurement->empty())
            rows.push_back({"Měření", *shown.measurement});
        if (!shown.wiring.empty())
            rows.push_back(
                {*kind == InputKind::Thermocouple ? "Kompenzace" : "Zapojení", std::string(shown.wiring)});
        addLinearizationRow(rows, reading);
    }
    // Divider and shunt belong to their kinds; a failed read shows with any.
    if (!kind || *kind == InputKind::Voltage || !reading.settings.divider)
        rows.push_back(realRow("Dělič [-]", reading.settings.divider, display_decimals::Divider));
    if (!kind || *kind == InputKind::Current || !reading.settings.shunt)
        rows.push_back(realRow("Bočník [ohm]", reading.settings.shunt, display_decimals::Shunt));
    const std::string unit = kind ? rangeUnit(*kind) : std::string();
    rows.push_back(realRow("Rozsah min", reading.settings.rangeMin, display_decimals::Range, unit));
    rows.push_back(realRow("Rozsah max", reading.settings.rangeMax, display_decimals::Range, unit));
    rows.push_back(rowOf("Filtr", settings.filter, [](std::uint8_t f) { return std::to_string(f); }));
    rows.push_back(realRow("Min", settings.scaleMin, display_decimals::Scale));
    rows.push_back(realRow("Max", settings.scaleMax, display_decimals::Scale));
    return section;
}

RecordPage::Section errorStateSection(const ConverterReading& reading)
{
    return {"Chybový stav", {rowOf("Signalizace", reading.settings.errorSignalling, [](std::uint8_t c) {
                const std::string_view text = texts::ErrorSignallingText(c);
                return text.empty() ? codeText(c) : std::string(text);
            })}};
}

RecordPage::Section relaySection(int number, const std::optional<RelaySettings>& relay)
{
    RecordPage::Section section{"Relé " + std::to_string(number), {}};
    if (!relay) {
        section.rows.push_back({"Režim", {}, true});
        return section;
    }
    const auto delay = [](std::uint16_t d) { return ", zpoždění " + std::to_string(d); };
    section.rows.push_back({"Režim", relay->mode < texts::RelayModeTexts.size()
                                         ? std::string(texts::RelayModeTexts[relay->mode])
                                         : codeText(relay->mode)});
    section.rows.push_back(
        {"Sepnutí", number_text::RealText(relay->onValue, display_decimals::Relay) + delay(relay->onDelay)});
    section.rows.push_back({"Rozepnutí", number_text::RealText(relay->offValue, display_decimals::Relay) +
                                             delay(relay->offDelay)});
    return section;
}

RecordPage::Section measuringPointSection(const RecordParticulars& given)
{
    RecordPage::Section section{"Měřicí místo", {}};
    const auto add = [&](const char* label, const std::string& text) {
        if (!text.empty())
            section.rows.push_back({label, text});
    };
    add("Označení", given.tag);
    add("Umístění", given.location);
    add("Technik", given.technician);
    add("Poznámka", given.note);
    return section;
}

RecordPage::Section liveValuesSection(const LiveReading& live)
{
    RecordPage::Section section{"Interní hodnoty", {}};
    for (LiveQuantity quantity : LiveQuantities) {
        const std::optional<float> value = liveOf(live, quantity);
        section.rows.push_back(rowOf(std::string(liveLabel(quantity)), value,
                                     [quantity](float v) { return liveText(quantity, v); }));
    }
    return section;
}

} // namespace

RecordPage commissioningRecord(const ConverterReading& reading, const RecordCircumstances& circumstances)
{
    RecordPage page;
    page.title = "Protokol o nastavení převodníku " + reading.identity;
    page.subtitle = "Načteno " + circumstances.time + " z portu " + circumstances.port;
    if (reading.serialNumber)
        page.subtitle += ", výrobní číslo " + number_text::IntegerText(*reading.serialNumber);
    page.measuringPoint = measuringPointSection(circumstances.particulars);
    page.sections = {identitySection(reading),
                     inputSection(reading),
                     errorStateSection(reading),
                     liveValuesSection(reading.live),
                     relaySection(1, reading.settings.relay1),
                     relaySection(2, reading.settings.relay2)};

    const ConverterCurve curve =
        chooseConverterCurve(reading, circumstances.linearization, circumstances.linearizationFile);
    page.pictureHeading = curve.heading;
    if (curve.plot)
        page.pictureSvg = curve.plot->svgElement();
    page.pictureFailed = curve.failed;
    page.linearizationDiffers = curve.userTableDiffers;
    page.pictureNotes = curve.notes;
    page.signers = {{"Technik", circumstances.particulars.technician}, {"Zákazník", {}}};
    return page;
}

std::string recordTimeText(std::chrono::system_clock::time_point at)
{
    const std::string stamp = localTimeStamp(at); // 2024-05-14T09:30:00.250+02:00
    if (stamp.size() < 29)
        return stamp;
    return stamp.substr(0, 10) + " " + stamp.substr(11, 8) + " (UTC" + stamp.substr(23) + ")";
}
