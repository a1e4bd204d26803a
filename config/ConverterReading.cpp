#include "config/ConverterReading.h"

#include <bit>

ConverterReading readConverter(ConverterLink& link)
{
    ConverterReading r;
    r.firmwareVersion = readOptional(link, &ConverterLink::readFirmwareVersion);
    r.serialNumber = readOptional(link, &ConverterLink::readSerialNumber);
    r.outputType = readOptional(link, &ConverterLink::readOutputType);
    r.relayOptions = readOptional(link, &ConverterLink::readRelayOptions);
    // The polynomial comes before the input type: it tells which sensor the
    // type means.
    r.curveDegree = readOptional(link, &ConverterLink::readCurveDegree);
    r.curveCoefficients = readOptional(link, &ConverterLink::readCurveCoefficients);
    r.inputType = readOptional(link, &ConverterLink::readInputType);
    r.filter = readOptional(link, &ConverterLink::readFilter);
    r.scaleMin = readOptional(link, &ConverterLink::readScaleMin);
    r.scaleMax = readOptional(link, &ConverterLink::readScaleMax);
    r.errorSignalling = readOptional(link, &ConverterLink::readErrorSignalling);
    r.live = readLiveValues(link);
    r.relay1 = readOptional(link, &ConverterLink::readRelay1);
    r.relay2 = readOptional(link, &ConverterLink::readRelay2);
    return r;
}

LiveReading readLiveValues(ConverterLink& link)
{
    LiveReading live;
    live.input = readOptional(link, &ConverterLink::readLiveInput);
    live.process = readOptional(link, &ConverterLink::readLiveProcess);
    live.value = readOptional(link, &ConverterLink::readLiveValue);
    live.ratio = readOptional(link, &ConverterLink::readLiveRatio);
    return live;
}

bool isFaultPattern(float value)
{
    return std::bit_cast<std::uint32_t>(value) == 0xFFFFFFFFu;
}
