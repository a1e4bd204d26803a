#include "server/CoreCalls.h"

#include "config/ConfigurationJson.h"
#include "config/ConverterReading.h"
#include "config/LiveValueTexts.h"
#include "config/LocalTime.h"
#include "device/PortList.h"
#include "device/PortNameList.h"
#include "report/CommissioningRecord.h"

namespace core {

Json readAll(ConverterLink& link, const std::string& identity, std::vector<std::string>& failed)
{
    const ConverterReading reading = readConverter(link, ReadScope::All, identity);
    for (std::string_view name : reading.failedReads())
        failed.emplace_back(name);
    return readingJson(reading);
}

std::optional<Json> readInput(ConverterLink& link)
{
    const ConverterReading reading = readConverter(link, ReadScope::Input);
    if (!reading.settings.inputType)
        return std::nullopt;
    return inputJson(reading);
}

std::string recordPage(ConverterLink& link, const std::string& identity, const std::string& port,
                       const RecordParticulars& particulars, std::vector<std::string>& failed)
{
    const auto readAt = std::chrono::system_clock::now();
    const ConverterReading reading = readConverter(link, ReadScope::All, identity);
    for (std::string_view name : reading.failedReads())
        failed.emplace_back(name);
    RecordCircumstances circumstances{port, recordTimeText(readAt), nullptr, {}, particulars};
    return recordPageHtml(commissioningRecord(reading, circumstances));
}

Json readLive(ConverterLink& link, int& read)
{
    const LiveReading live = readLiveValues(link);
    read = 0;
    for (LiveQuantity quantity : LiveQuantities)
        read += liveOf(live, quantity).has_value() ? 1 : 0;
    return liveJson(live);
}

std::string timeStamp(std::chrono::system_clock::time_point at)
{
    return localTimeStamp(at);
}

std::vector<std::string> portNames()
{
    PortNameList ports;
    FillPortList(ports);
    std::vector<std::string> names;
    for (int i = 0; i < ports.Count(); ++i)
        names.push_back(ports.StringAt(i));
    return names;
}

std::optional<Setting> parseSettingText(std::string_view text, std::string& problem)
{
    return parseSetting(text, problem);
}

Json relayToJson(const RelaySettings& relay)
{
    return valueJson(relay);
}

std::string openingReason(const ConverterOpening& opening, const std::string& port)
{
    switch (opening.outcome) {
    case ConverterOpening::Outcome::PortFailed:
        return "cannot open the port " + port +
               ". Check its name (the port list shows the serial ports) and that no other program, such as "
               "config.exe or dnx8, holds it.";
    case ConverterOpening::Outcome::Silent:
        return "no converter answers on " + port +
               ". Check the cable, the converter's power and that this is its port.";
    case ConverterOpening::Outcome::ForeignIdentity:
        return "the device on " + port + " answers as \"" + printableIdentity(opening.identity) +
               "\", not as a DNX8 (Převodník není kompatibilní s tímto nástrojem). Only DNX8 converters are "
               "configured; check that this is the right port.";
    case ConverterOpening::Outcome::Opened:
        break;
    }
    return {};
}

std::string jsonText(const Json& json)
{
    return json.dump(-1, ' ', false, nlohmann::detail::error_handler_t::replace);
}

} // namespace core
