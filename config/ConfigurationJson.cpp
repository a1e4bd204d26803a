#include "config/ConfigurationJson.h"

#include "config/LiveValueTexts.h"
#include "device/ParameterTexts.h"
#include "framework/NumberText.h"

namespace texts = parameter_texts;

namespace {

Json codeAndText(std::optional<std::uint8_t> code, std::string_view (*text)(std::uint8_t))
{
    if (!code)
        return nullptr;
    return Json{{"code", *code}, {"text", std::string(text(*code))}};
}

} // namespace

Json identityJson(const ConverterReading& reading)
{
    Json json = Json::object();
    json["identity"] = reading.identity;
    json["firmware"] =
        reading.firmwareVersion ? Json(number_text::VersionText(*reading.firmwareVersion)) : Json(nullptr);
    json["serialNumber"] = optionalJson(reading.serialNumber);
    json["output"] = codeAndText(reading.outputType, texts::OutputTypeText);
    json["relays"] = codeAndText(reading.relayOptions, texts::RelayOptionsText);
    return json;
}

Json valueJson(std::uint8_t value)
{
    return Json(value);
}

Json valueJson(float value)
{
    return Json(value);
}

Json valueJson(const CurveCoefficients& value)
{
    return Json(value);
}

Json valueJson(const RelaySettings& relay)
{
    return Json{{"onValue", relay.onValue},
                {"offValue", relay.offValue},
                {"onDelay", relay.onDelay},
                {"offDelay", relay.offDelay},
                {"mode", relay.mode}};
}

Json configurationJson(const Configuration& settings)
{
    Json json = Json::object();
    forEachKey(
        [&json](ConfigurationKey key, const auto& member) {
            json[std::string(key.name)] = member ? valueJson(*member) : Json(nullptr);
        },
        settings);
    return json;
}

Json inputJson(const ConverterReading& reading)
{
    if (!reading.input || !reading.input->listPosition)
        return nullptr;
    const InputPresentation& shown = *reading.input;
    Json input = Json::object();
    input["kind"] = std::string(texts::InputKindTexts[static_cast<std::size_t>(*shown.listPosition)]);
    input["measurement"] = optionalJson(shown.measurement);
    input["wiring"] = shown.wiring.empty() ? Json(nullptr) : Json(std::string(shown.wiring));
    input["sensor"] = optionalJson(reading.sensorName());
    return input;
}

Json readingJson(const ConverterReading& reading)
{
    Json json = identityJson(reading);
    json["configuration"] = configurationJson(reading.settings);

    json["input"] = inputJson(reading);
    const std::optional<std::uint8_t> errorState = reading.settings.errorSignalling;
    json["errorState"] = errorState && !texts::ErrorSignallingText(*errorState).empty()
                             ? Json(std::string(texts::ErrorSignallingText(*errorState)))
                             : Json(nullptr);
    json["live"] = liveJson(reading.live);
    Json failed = Json::array();
    for (std::string_view name : reading.failedReads())
        failed.push_back(std::string(name));
    json["failedReads"] = failed;
    return json;
}
