#pragma once

#include "config/ConverterReading.h"
#include "config/Json.h"
#include "device/RelaySettings.h"

// A converter's reading as JSON, with the parameter names as keys: what
// `dnx8 read --json` prints and the served page receives. docs/dnx8.md
// documents it.

// {"identity", "firmware", "serialNumber", "output": {code, text}, "relays": {code, text}}.
Json identityJson(const ConverterReading& reading);
// The parameters by name, in file order; null where the read failed.
Json configurationJson(const Configuration& settings);
// A key's value as the backup file and `dnx8 read --json` write it: reals
// as float32, the polynomial as an array, a relay as {"onValue",
// "offValue", "onDelay", "offDelay", "mode"}.
Json valueJson(std::uint8_t value);
Json valueJson(float value);
Json valueJson(const CurveCoefficients& value);
Json valueJson(const RelaySettings& value);
// The input as the window presents it: {"kind", "measurement", "wiring",
// "sensor"}; null without a known input type.
Json inputJson(const ConverterReading& reading);
// Everything `dnx8 read --json` prints.
Json readingJson(const ConverterReading& reading);
