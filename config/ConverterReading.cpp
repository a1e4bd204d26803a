#include "config/ConverterReading.h"

#include "inputs/SensorCatalogs.h"
#include "inputs/RtdCurve.h"
#include "inputs/ThermocoupleCurve.h"

#include <bit>

namespace {

// Read positions of the keys (ConfigurationKey::readPosition): the live
// values come before Relay1, and the window reads no further than Relay2.
constexpr int LiveValuesPosition = 7;
constexpr int WindowPositions = 9;

// Each key has a read position of its own below ConfigurationKeyCount, so
// read-all misses none and reads none twice.
constexpr bool readPositionsAreDistinct()
{
    const Configuration none{};
    bool taken[ConfigurationKeyCount] = {};
    int keys = 0;
    bool distinct = true;
    forEachKey(
        [&](const ConfigurationKey& key, const auto&) {
            ++keys;
            if (key.readPosition < 0 || key.readPosition >= ConfigurationKeyCount || taken[key.readPosition])
                distinct = false;
            else
                taken[key.readPosition] = true;
        },
        none);
    return distinct && keys == ConfigurationKeyCount;
}
static_assert(readPositionsAreDistinct());

bool inScope(const ConfigurationKey& key, ReadScope scope)
{
    switch (scope) {
    case ReadScope::Identity:
        return false;
    case ReadScope::Window:
        return key.readPosition < WindowPositions;
    case ReadScope::All:
        return true;
    case ReadScope::Input:
        return key.role != KeyRole::Other;
    }
    return false;
}

// Calls visit(name, member, accessor) for each live value, in read order.
template <typename Live, typename Visit> void forEachLiveRead(Live& live, Visit& visit)
{
    using L = ConverterLink;
    visit("LiveInput", live.input, &L::readLiveInput);
    visit("LiveProcess", live.process, &L::readLiveProcess);
    visit("LiveValue", live.value, &L::readLiveValue);
    visit("LiveRatio", live.ratio, &L::readLiveRatio);
}

// Calls visit(name, member, accessor) for every read of `scope`, in read
// order; Reading is ConverterReading, const or not.
template <typename Reading, typename Visit> void forEachRead(Reading& r, ReadScope scope, Visit visit)
{
    using L = ConverterLink;
    if (scope != ReadScope::Input) {
        visit("FirmwareVersion", r.firmwareVersion, &L::readFirmwareVersion);
        visit("SerialNumber", r.serialNumber, &L::readSerialNumber);
        visit("OutputType", r.outputType, &L::readOutputType);
        visit("RelayOptions", r.relayOptions, &L::readRelayOptions);
    }
    if (scope == ReadScope::Identity)
        return;
    for (int position = 0; position < ConfigurationKeyCount; ++position) {
        if (position == LiveValuesPosition && scope != ReadScope::Input)
            forEachLiveRead(r.live, visit);
        forEachKey(
            [&](const auto& key, auto& member) {
                if (key.readPosition == position && inScope(key, scope))
                    visit(key.name, member, key.read);
            },
            r.settings);
    }
}

// Reads a member through its accessor.
struct ReadInto {
    ConverterLink& link;
    template <typename T>
    void operator()(std::string_view, std::optional<T>& member, bool (ConverterLink::*read)(T&)) const
    {
        member = readOptional(link, read);
    }
};

} // namespace

std::optional<InputPresentation> presentInput(const Configuration& c)
{
    if (!c.inputType)
        return std::nullopt;
    std::optional<CurveReading> curve;
    if (c.curveDegree && c.curveCoefficients)
        curve = CurveReading{*c.curveDegree, *c.curveCoefficients};
    return PresentInput(*c.inputType, curve, rtds(), thermocouples());
}

ConverterReading readConverter(ConverterLink& link, ReadScope scope, std::string identity)
{
    ConverterReading r;
    r.identity = std::move(identity);
    forEachRead(r, scope, ReadInto{link});
    r.input = presentInput(r.settings);
    return r;
}

LiveReading readLiveValues(ConverterLink& link)
{
    LiveReading live;
    ReadInto read{link};
    forEachLiveRead(live, read);
    return live;
}

bool isFaultPattern(float value)
{
    return std::bit_cast<std::uint32_t>(value) == 0xFFFFFFFFu;
}

std::vector<std::string_view> ConverterReading::failedReads(ReadScope scope) const
{
    std::vector<std::string_view> failed;
    forEachRead(*this, scope, [&failed](std::string_view name, const auto& member, auto) {
        if (!member)
            failed.push_back(name);
    });
    return failed;
}

std::optional<std::string> ConverterReading::sensorName() const
{
    if (input && input->rtdCurve && *input->rtdCurve)
        return (*input->rtdCurve)->name();
    if (input && input->thermocoupleCurve && *input->thermocoupleCurve)
        return (*input->thermocoupleCurve)->name();
    return std::nullopt;
}
