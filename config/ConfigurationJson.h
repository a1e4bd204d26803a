#pragma once

#include "config/ConfigurationReading.h"
#include "config/Json.h"
#include "device/RelaySettings.h"

// A converter's reading as JSON, with the parameter names as keys: what
// `dnx8 read --json` prints and the served page receives. docs/dnx8.md
// documents it.

// {"identity", "firmware", "serialNumber", "output": {code, text}, "relays": {code, text}}.
Json IdentityJson(const ConfigurationReading& reading);
// The parameters by name: InputType, Divider, Shunt, RangeMin, RangeMax,
// CurveDegree, CurveCoefficients, SegmentCount, Filter, ScaleMin, ScaleMax,
// ErrorSignalling, Relay1, Relay2; null where the read failed.
Json ConfigurationJson(const ConfigurationReading& reading);
// {"onValue", "offValue", "onDelay", "offDelay", "mode"}.
Json RelayJson(const RelaySettings& relay);
// Everything `dnx8 read --json` prints.
Json ReadingJson(const ConfigurationReading& reading);
