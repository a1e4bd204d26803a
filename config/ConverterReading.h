#pragma once

#include "device/ConverterLink.h"
#include "device/RelaySettings.h"

#include <cstdint>
#include <optional>

// The four live values; a value that could not be read is empty.
struct LiveReading {
    std::optional<float> input;
    std::optional<float> process;
    std::optional<float> value;
    std::optional<float> ratio;
};

// Everything the tool reads after connecting, as the converter sent it. A
// read that failed leaves its member empty; the others are still read.
struct ConverterReading {
    std::optional<std::uint16_t> firmwareVersion;
    std::optional<std::int32_t> serialNumber;
    std::optional<std::uint8_t> outputType;
    std::optional<std::uint8_t> relayOptions;
    std::optional<std::uint8_t> curveDegree;
    std::optional<CurveCoefficients> curveCoefficients;
    std::optional<std::uint8_t> inputType;
    std::optional<std::uint8_t> filter;
    std::optional<float> scaleMin;
    std::optional<float> scaleMax;
    std::optional<std::uint8_t> errorSignalling;
    LiveReading live;
    std::optional<RelaySettings> relay1;
    std::optional<RelaySettings> relay2;
};

// The reads that follow a successful identification, one transaction each,
// in this order: firmware, serial number, output, relay fitting, curve degree
// and coefficients, input type, filter, scale, error state, the live values,
// relay 1 and relay 2.
ConverterReading readConverter(ConverterLink& link);

// Input, process value, value and ratio, in this order.
LiveReading readLiveValues(ConverterLink& link);

// A live value the converter flags as faulty arrives as FF FF FF FF.
bool isFaultPattern(float value);

// One read through a ConverterLink accessor: the value, or nothing when the
// read failed.
template <typename T> std::optional<T> readOptional(ConverterLink& link, bool (ConverterLink::*read)(T&))
{
    T value{};
    if ((link.*read)(value))
        return value;
    return std::nullopt;
}
