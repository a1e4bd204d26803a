#include "config/ConfigurationReading.h"

#include "inputs/SensorCatalogs.h"
#include "inputs/RtdCurve.h"
#include "inputs/ThermocoupleCurve.h"

namespace {

void Present(ConfigurationReading& r)
{
    r.input.reset();
    if (!r.all.inputType)
        return;
    std::optional<CurveReading> curve;
    if (r.all.curveDegree && r.all.curveCoefficients)
        curve = CurveReading{*r.all.curveDegree, *r.all.curveCoefficients};
    r.input = PresentInput(*r.all.inputType, curve, Rtds(), Thermocouples());
}

// What read-all leaves out: Divider, Shunt, RangeMin, RangeMax, SegmentCount.
void ReadRangeAndCalibration(ConverterLink& link, ConfigurationReading& r)
{
    r.divider = readOptional(link, &ConverterLink::readDivider);
    r.shunt = readOptional(link, &ConverterLink::readShunt);
    r.rangeMin = readOptional(link, &ConverterLink::readRangeMin);
    r.rangeMax = readOptional(link, &ConverterLink::readRangeMax);
    r.segmentCount = readOptional(link, &ConverterLink::readSegmentCount);
}

} // namespace

ConfigurationReading ReadConfiguration(ConverterLink& link, std::string identity)
{
    ConfigurationReading r;
    r.identity = std::move(identity);
    r.all = readConverter(link);
    ReadRangeAndCalibration(link, r);
    Present(r);
    return r;
}

void ReadInputState(ConverterLink& link, ConfigurationReading& r)
{
    r.all.curveDegree = readOptional(link, &ConverterLink::readCurveDegree);
    r.all.curveCoefficients = readOptional(link, &ConverterLink::readCurveCoefficients);
    r.all.inputType = readOptional(link, &ConverterLink::readInputType);
    ReadRangeAndCalibration(link, r);
    Present(r);
}

std::vector<std::string_view> ConfigurationReading::failedReads() const
{
    const std::pair<bool, std::string_view> reads[] = {
        {all.firmwareVersion.has_value(), "FirmwareVersion"},
        {all.serialNumber.has_value(), "SerialNumber"},
        {all.outputType.has_value(), "OutputType"},
        {all.relayOptions.has_value(), "RelayOptions"},
        {all.curveDegree.has_value(), "CurveDegree"},
        {all.curveCoefficients.has_value(), "CurveCoefficients"},
        {all.inputType.has_value(), "InputType"},
        {all.filter.has_value(), "Filter"},
        {all.scaleMin.has_value(), "ScaleMin"},
        {all.scaleMax.has_value(), "ScaleMax"},
        {all.errorSignalling.has_value(), "ErrorSignalling"},
        {all.live.input.has_value(), "LiveInput"},
        {all.live.process.has_value(), "LiveProcess"},
        {all.live.value.has_value(), "LiveValue"},
        {all.live.ratio.has_value(), "LiveRatio"},
        {all.relay1.has_value(), "Relay1"},
        {all.relay2.has_value(), "Relay2"},
        {divider.has_value(), "Divider"},
        {shunt.has_value(), "Shunt"},
        {rangeMin.has_value(), "RangeMin"},
        {rangeMax.has_value(), "RangeMax"},
        {segmentCount.has_value(), "SegmentCount"},
    };
    std::vector<std::string_view> failed;
    for (const auto& [read, name] : reads)
        if (!read)
            failed.push_back(name);
    return failed;
}

std::optional<std::string> ConfigurationReading::sensorName() const
{
    if (input && input->rtdCurve && *input->rtdCurve)
        return (*input->rtdCurve)->name();
    if (input && input->thermocoupleCurve && *input->thermocoupleCurve)
        return (*input->thermocoupleCurve)->name();
    return std::nullopt;
}
