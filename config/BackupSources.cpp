#include "config/BackupSources.h"

#include "config/RestorePlan.h"
#include "device/ParameterTexts.h"
#include "framework/NumberText.h"

namespace {

constexpr const char* ReadFailed = "read failed";

// The record keys and the reads behind them, in file order.
template <typename T, typename Text>
void Record(std::optional<std::string>& to, const std::optional<T>& read, Text text, const char* key,
            BackupFile& file)
{
    if (read)
        to = std::string(text(*read));
    else
        file.missing[key] = ReadFailed;
}

} // namespace

Configuration ConfigurationOf(const ConfigurationReading& r)
{
    Configuration c;
    c.inputType = r.all.inputType;
    c.divider = r.divider;
    c.shunt = r.shunt;
    c.rangeMin = r.rangeMin;
    c.rangeMax = r.rangeMax;
    c.curveDegree = r.all.curveDegree;
    c.curveCoefficients = r.all.curveCoefficients;
    c.segmentCount = r.segmentCount;
    c.filter = r.all.filter;
    c.scaleMin = r.all.scaleMin;
    c.scaleMax = r.all.scaleMax;
    c.errorSignalling = r.all.errorSignalling;
    c.relay1 = r.all.relay1;
    c.relay2 = r.all.relay2;
    return c;
}

BackupFile BackupOf(const ConfigurationReading& r)
{
    BackupFile file;
    file.identity = r.identity;
    Record(file.firmware, r.all.firmwareVersion, number_text::VersionText, "firmware", file);
    if (r.all.serialNumber)
        file.serialNumber = *r.all.serialNumber;
    else
        file.missing["serialNumber"] = ReadFailed;
    Record(file.output, r.all.outputType, parameter_texts::OutputTypeText, "output", file);
    Record(file.relays, r.all.relayOptions, parameter_texts::RelayOptionsText, "relays", file);

    file.configuration = ConfigurationOf(r);
    forEachKey(
        [&file](ConfigurationKey key, const auto& member) {
            if (!member)
                file.missing[std::string(key.name)] = ReadFailed;
        },
        file.configuration);
    file.partial = !file.missing.empty();
    settleUnwritableReals(file);
    file.sensor = recognisedSensor(file.configuration);
    file.notRestorable = restoreObstacles(file.configuration);
    return file;
}

std::vector<std::string> FailedReads(const BackupFile& file)
{
    std::vector<std::string> failed;
    for (const char* key : {"firmware", "serialNumber", "output", "relays"})
        if (file.missing.count(key) && file.missing.at(key) == ReadFailed)
            failed.push_back(key);
    forEachKey(
        [&](ConfigurationKey key, const auto&) {
            const auto found = file.missing.find(std::string(key.name));
            if (found != file.missing.end() && found->second == ReadFailed)
                failed.push_back(found->first);
        },
        file.configuration);
    return failed;
}
