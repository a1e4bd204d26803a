#include "server/CoreCalls.h"

#include "cli/ConfigurationOutput.h"
#include "cli/ConfigurationReading.h"
#include "cli/Console.h"
#include "cli/LiveValueTexts.h"
#include "cli/LocalTime.h"
#include "device/ConverterReading.h"
#include "device/PortList.h"
#include "device/PortNameList.h"

namespace core {

Json ReadAll(ConverterLink& link, const std::string& identity, std::vector<std::string>& failed)
{
    const ConfigurationReading reading = ReadConfiguration(link, identity);
    for (std::string_view name : reading.failedReads())
        failed.emplace_back(name);
    return ReadingJson(reading);
}

Json ReadLive(ConverterLink& link, int& read)
{
    const LiveReading live = readLiveValues(link);
    read = 0;
    for (LiveQuantity quantity : LiveQuantities)
        read += LiveOf(live, quantity).has_value() ? 1 : 0;
    return LiveJson(live);
}

std::string TimeStamp(std::chrono::system_clock::time_point at)
{
    return LocalTimeStamp(at);
}

std::vector<std::string> PortNames()
{
    PortNameList ports;
    FillPortList(ports);
    std::vector<std::string> names;
    for (int i = 0; i < ports.Count(); ++i)
        names.push_back(ports.StringAt(i));
    return names;
}

std::optional<Setting> ParseSettingText(std::string_view text, std::string& problem)
{
    return ParseSetting(text, problem);
}

Json RelayToJson(const RelaySettings& relay)
{
    return RelayJson(relay);
}

bool StopRequested()
{
    return Console::stopRequested();
}

std::string JsonText(const Json& json)
{
    return json.dump(-1, ' ', false, nlohmann::detail::error_handler_t::replace);
}

} // namespace core
