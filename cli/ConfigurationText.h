#pragma once

#include "config/ConverterReading.h"

#include <ostream>

class LabelledLines;

// How dnx8 shows a converter to people: plain aligned text with the
// window's Czech texts and number formats.

// Identity, firmware, serial number, output and relays ("Převodník:" ..
// "Relé:"); a failed read shows "Chyba komunikace".
void addIdentityLines(LabelledLines& lines, const ConverterReading& reading);
// Input kind, measurement, wiring or compensation, divider, shunt, range,
// polynomial order and segment count.
void addInputLines(LabelledLines& lines, const ConverterReading& reading);
// Everything `dnx8 read` prints.
void printConfigurationText(std::ostream& out, const ConverterReading& reading);
