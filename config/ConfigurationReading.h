#pragma once

#include "config/ConverterReading.h"
#include "inputs/InputPresentation.h"

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

// Everything `dnx8 read` shows, as the converter sent it: what the main
// window reads after connecting, then Divider, Shunt, RangeMin, RangeMax and
// SegmentCount, with the input presented as the window presents it. A read
// that failed leaves its member empty; the others are still read.
struct ConfigurationReading {
    std::string identity;
    ConverterReading all;
    std::optional<float> divider;
    std::optional<float> shunt;
    std::optional<float> rangeMin;
    std::optional<float> rangeMax;
    std::optional<std::uint8_t> segmentCount;
    // Set when the input type was read (no sensor is recognised without the
    // whole polynomial).
    std::optional<InputPresentation> input;

    // The parameter names of the reads that failed, in read order.
    std::vector<std::string_view> failedReads() const;
    // The recognised thermometer's or thermocouple's catalog name, if any.
    std::optional<std::string> sensorName() const;
};

// The reads after a successful identification (identity is what the
// converter answered), one transaction each.
ConfigurationReading ReadConfiguration(ConverterLink& link, std::string identity);

// Only what configures the input: CurveDegree, CurveCoefficients,
// InputType, Divider, Shunt, RangeMin, RangeMax, SegmentCount, into reading
// (the other members stay as they are), and the input's presentation.
void ReadInputState(ConverterLink& link, ConfigurationReading& reading);
