#pragma once

// The server's one road into the command-line companion's parts: the JSON
// of `dnx8 read --json` and `dnx8 watch`, `dnx8 set`'s checks, opening a
// converter, the port list. Everything else in server/ includes this file
// instead of cli/ headers.

#include "cli/ConverterOpening.h"
#include "cli/Json.h"
#include "cli/Settings.h"
#include "device/ConverterLink.h"
#include "device/RelaySettings.h"

#include <chrono>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace core {

// A fresh read-all as `dnx8 read --json` prints it; failed lists the
// parameter names whose reads failed.
Json ReadAll(ConverterLink& link, const std::string& identity, std::vector<std::string>& failed);

// One `dnx8 watch` poll: the four values with fault texts; read counts the
// values that could be read (0 when the converter did not answer at all).
Json ReadLive(ConverterLink& link, int& read);

// The same time stamp `dnx8 watch --csv` writes.
std::string TimeStamp(std::chrono::system_clock::time_point at);

// `dnx8 ports`.
std::vector<std::string> PortNames();

// `dnx8 set`'s SETTING=VALUE.
std::optional<Setting> ParseSettingText(std::string_view text, std::string& problem);

// {"onValue", "offValue", "onDelay", "offDelay", "mode"}.
Json RelayToJson(const RelaySettings& relay);

// True once Ctrl+C or SIGTERM asked the program to end (the terminal's own
// handling, which a Windows console uses).
bool StopRequested();

// Writes to JSON text; bytes that are no UTF-8 (a converter's odd identity)
// are replaced, never thrown.
std::string JsonText(const Json& json);

} // namespace core
