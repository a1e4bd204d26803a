#pragma once

#include "cli/ConfigurationReading.h"
#include "cli/Json.h"
#include "device/RelaySettings.h"

#include <ostream>

class LabelledLines;

// How dnx8 shows a converter: plain aligned text with the window's Czech
// texts and number formats for people, JSON for machines. docs/dnx8.md
// documents the JSON.

// Identity, firmware, serial number, output and relays ("Převodník:" ..
// "Relé:"); a failed read shows "Chyba komunikace".
void AddIdentityLines(LabelledLines& lines, const ConfigurationReading& reading);
// Input kind, measurement, wiring or compensation, divider, shunt, range,
// polynomial order and segment count.
void AddInputLines(LabelledLines& lines, const ConfigurationReading& reading);
// Everything `dnx8 read` prints.
void PrintConfigurationText(std::ostream& out, const ConfigurationReading& reading);

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
