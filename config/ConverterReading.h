#pragma once

#include "config/Configuration.h"
#include "device/ConverterLink.h"
#include "inputs/InputPresentation.h"

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

// The four live values; a value that could not be read is empty.
struct LiveReading {
    std::optional<float> input;
    std::optional<float> process;
    std::optional<float> value;
    std::optional<float> ratio;
};

// Which reads read-all makes, each a subset of the next but Input.
enum class ReadScope {
    Identity, // firmware, serial number, output, relay fitting (dnx8 info)
    Window,   // what the window reads after connecting
    All,      // dnx8 read: the window's reads, then Divider, Shunt, RangeMin, RangeMax, SegmentCount
    Input,    // only the keys that configure the input (dnx8 input's read-back)
};

// What read-all got from a converter. A read that failed, or one outside
// the scope read, leaves its member empty.
struct ConverterReading {
    std::string identity;
    std::optional<std::uint16_t> firmwareVersion;
    std::optional<std::int32_t> serialNumber;
    std::optional<std::uint8_t> outputType;
    std::optional<std::uint8_t> relayOptions;
    Configuration settings;
    LiveReading live;
    // The input as the window presents it; set when the input type was read
    // (no sensor is recognised without the whole polynomial).
    std::optional<InputPresentation> input;

    // The parameter names of the reads of `scope` that failed, in read order.
    std::vector<std::string_view> failedReads(ReadScope scope = ReadScope::All) const;
    // The recognised thermometer's or thermocouple's catalog name, if any.
    std::optional<std::string> sensorName() const;
};

// The reads of `scope` after a successful identification (identity is what
// the converter answered), one transaction each and each made whatever the
// earlier ones returned, in this order: firmware, serial number, output,
// relay fitting, then the keys by their read position (the curve before the
// input type: it tells which sensor the type means), the live values
// between ErrorSignalling and Relay1.
ConverterReading readConverter(ConverterLink& link, ReadScope scope, std::string identity = {});

// The input as the window presents it, with the built-in catalogs; empty
// without InputType.
std::optional<InputPresentation> presentInput(const Configuration& settings);

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
