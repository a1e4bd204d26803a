#include "config/BackupSources.h"

#include "config/RestorePlan.h"
#include "device/ParameterTexts.h"
#include "framework/NumberText.h"

namespace {

constexpr const char* ReadFailed = "read failed";

// The record keys and the reads behind them, in file order.
template <typename T, typename Text>
void record(std::optional<std::string>& to, const std::optional<T>& read, Text text, const char* key,
            BackupFile& file)
{
    if (read)
        to = std::string(text(*read));
    else
        file.missing[key] = ReadFailed;
}

} // namespace

BackupFile backupOf(const ConverterReading& r)
{
    BackupFile file;
    file.identity = r.identity;
    record(file.firmware, r.firmwareVersion, number_text::VersionText, "firmware", file);
    if (r.serialNumber)
        file.serialNumber = *r.serialNumber;
    else
        file.missing["serialNumber"] = ReadFailed;
    record(file.output, r.outputType, parameter_texts::OutputTypeText, "output", file);
    record(file.relays, r.relayOptions, parameter_texts::RelayOptionsText, "relays", file);

    file.configuration = r.settings;
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

std::vector<std::string> failedReads(const BackupFile& file)
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
