#include "config/ConfigurationJson.h"

#include "config/LiveValueTexts.h"
#include "device/ParameterTexts.h"
#include "framework/NumberText.h"

namespace texts = parameter_texts;

namespace {

Json CodeAndText(std::optional<std::uint8_t> code, std::string_view (*text)(std::uint8_t))
{
    if (!code)
        return nullptr;
    return Json{{"code", *code}, {"text", std::string(text(*code))}};
}

} // namespace

Json IdentityJson(const ConfigurationReading& reading)
{
    const ConverterReading& all = reading.all;
    Json json = Json::object();
    json["identity"] = reading.identity;
    json["firmware"] =
        all.firmwareVersion ? Json(number_text::VersionText(*all.firmwareVersion)) : Json(nullptr);
    json["serialNumber"] = OptionalJson(all.serialNumber);
    json["output"] = CodeAndText(all.outputType, texts::OutputTypeText);
    json["relays"] = CodeAndText(all.relayOptions, texts::RelayOptionsText);
    return json;
}

Json RelayJson(const RelaySettings& relay)
{
    return Json{{"onValue", relay.onValue},
                {"offValue", relay.offValue},
                {"onDelay", relay.onDelay},
                {"offDelay", relay.offDelay},
                {"mode", relay.mode}};
}

Json ConfigurationJson(const ConfigurationReading& reading)
{
    const ConverterReading& all = reading.all;
    Json json = Json::object();
    json["InputType"] = OptionalJson(all.inputType);
    json["Divider"] = OptionalJson(reading.divider);
    json["Shunt"] = OptionalJson(reading.shunt);
    json["RangeMin"] = OptionalJson(reading.rangeMin);
    json["RangeMax"] = OptionalJson(reading.rangeMax);
    json["CurveDegree"] = OptionalJson(all.curveDegree);
    json["CurveCoefficients"] = all.curveCoefficients ? Json(*all.curveCoefficients) : Json(nullptr);
    json["SegmentCount"] = OptionalJson(reading.segmentCount);
    json["Filter"] = OptionalJson(all.filter);
    json["ScaleMin"] = OptionalJson(all.scaleMin);
    json["ScaleMax"] = OptionalJson(all.scaleMax);
    json["ErrorSignalling"] = OptionalJson(all.errorSignalling);
    json["Relay1"] = all.relay1 ? RelayJson(*all.relay1) : Json(nullptr);
    json["Relay2"] = all.relay2 ? RelayJson(*all.relay2) : Json(nullptr);
    return json;
}

Json ReadingJson(const ConfigurationReading& reading)
{
    Json json = IdentityJson(reading);
    json["configuration"] = ConfigurationJson(reading);

    Json input = nullptr;
    if (reading.input && reading.input->listPosition) {
        const InputPresentation& shown = *reading.input;
        input = Json::object();
        input["kind"] = std::string(texts::InputKindTexts[static_cast<std::size_t>(*shown.listPosition)]);
        input["measurement"] = OptionalJson(shown.measurement);
        input["wiring"] = shown.wiring.empty() ? Json(nullptr) : Json(std::string(shown.wiring));
        input["sensor"] = OptionalJson(reading.sensorName());
    }
    json["input"] = input;
    const std::optional<std::uint8_t> errorState = reading.all.errorSignalling;
    json["errorState"] = errorState && !texts::ErrorSignallingText(*errorState).empty()
                             ? Json(std::string(texts::ErrorSignallingText(*errorState)))
                             : Json(nullptr);
    json["live"] = LiveJson(reading.all.live);
    Json failed = Json::array();
    for (std::string_view name : reading.failedReads())
        failed.push_back(std::string(name));
    json["failedReads"] = failed;
    return json;
}
