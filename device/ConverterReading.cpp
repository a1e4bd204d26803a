#include "device/ConverterReading.h"

#include <bit>

namespace {

template <typename T, typename Read> std::optional<T> readOptional(ConverterLink& link, Read read)
{
    T value{};
    if ((link.*read)(value))
        return value;
    return std::nullopt;
}

} // namespace

ConverterReading readConverter(ConverterLink& link)
{
    ConverterReading r;
    r.firmwareVersion = readOptional<std::uint16_t>(link, &ConverterLink::readFirmwareVersion);
    r.serialNumber = readOptional<std::int32_t>(link, &ConverterLink::readSerialNumber);
    r.outputType = readOptional<std::uint8_t>(link, &ConverterLink::readOutputType);
    r.relayOptions = readOptional<std::uint8_t>(link, &ConverterLink::readRelayOptions);
    // The polynomial comes before the input type: it tells which sensor the
    // type means.
    r.curveDegree = readOptional<std::uint8_t>(link, &ConverterLink::readCurveDegree);
    r.curveCoefficients = readOptional<CurveCoefficients>(link, &ConverterLink::readCurveCoefficients);
    r.inputType = readOptional<std::uint8_t>(link, &ConverterLink::readInputType);
    r.filter = readOptional<std::uint8_t>(link, &ConverterLink::readFilter);
    r.scaleMin = readOptional<float>(link, &ConverterLink::readScaleMin);
    r.scaleMax = readOptional<float>(link, &ConverterLink::readScaleMax);
    r.errorSignalling = readOptional<std::uint8_t>(link, &ConverterLink::readErrorSignalling);
    r.live = readLiveValues(link);
    r.relay1 = readOptional<RelaySettings>(link, &ConverterLink::readRelay1);
    r.relay2 = readOptional<RelaySettings>(link, &ConverterLink::readRelay2);
    return r;
}

LiveReading readLiveValues(ConverterLink& link)
{
    LiveReading live;
    live.input = readOptional<float>(link, &ConverterLink::readLiveInput);
    live.process = readOptional<float>(link, &ConverterLink::readLiveProcess);
    live.value = readOptional<float>(link, &ConverterLink::readLiveValue);
    live.ratio = readOptional<float>(link, &ConverterLink::readLiveRatio);
    return live;
}

bool isFaultPattern(float value)
{
    return std::bit_cast<std::uint32_t>(value) == 0xFFFFFFFFu;
}
