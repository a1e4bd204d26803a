#pragma once

// The server's calls into the core, in the words of the API: the JSON of
// `dnx8 read --json` and `dnx8 watch`, `dnx8 set`'s checks, opening a
// converter, the port list.

#include "config/ConverterOpening.h"
#include "config/Json.h"
#include "config/Settings.h"
#include "device/ConverterLink.h"
#include "device/RelaySettings.h"
#include "report/RecordParticulars.h"

#include <chrono>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace core {

// A fresh read-all as `dnx8 read --json` prints it; failed lists the
// parameter names whose reads failed.
Json readAll(ConverterLink& link, const std::string& identity, std::vector<std::string>& failed);

// The input as a read-all shows it ({"kind", "measurement", "wiring",
// "sensor"}, null for an unknown type), from the reads of `dnx8 input`'s
// read-back; nothing when the input type could not be read.
std::optional<Json> readInput(ConverterLink& link);
// A fresh read-all as the commissioning record page of `dnx8 report`, for
// the converter on port; failed lists the reads that failed (each shows
// "Chyba komunikace" on the page).
std::string recordPage(ConverterLink& link, const std::string& identity, const std::string& port,
                       const RecordParticulars& particulars, std::vector<std::string>& failed);

// One `dnx8 watch` poll: the four values with fault texts; read counts the
// values that could be read (0 when the converter did not answer at all).
Json readLive(ConverterLink& link, int& read);

// The same time stamp `dnx8 watch --csv` writes.
std::string timeStamp(std::chrono::system_clock::time_point at);

// `dnx8 ports`.
std::vector<std::string> portNames();

// `dnx8 set`'s SETTING=VALUE.
std::optional<Setting> parseSettingText(std::string_view text, std::string& problem);

// {"onValue", "offValue", "onDelay", "offDelay", "mode"}.
Json relayToJson(const RelaySettings& relay);

// Why a converter could not be connected, and what to do.
std::string openingReason(const ConverterOpening& opening, const std::string& port);

// Writes to JSON text; bytes that are no UTF-8 (a converter's odd identity)
// are replaced, never thrown.
std::string jsonText(const Json& json);

} // namespace core
