#pragma once

class CommandLine;

// dnx8 info PORT [--json]: identity, firmware, serial number, output, relays.
// dnx8 read PORT [--json]: everything read-all reads, plus Divider, Shunt,
// RangeMin, RangeMax and SegmentCount, with the window's texts.
void addInfoCommands(CommandLine& commandLine);
