#pragma once

#include "config/Json.h"
#include "config/ConverterReading.h"

#include <array>
#include <optional>
#include <string>
#include <string_view>

// The four live values as the main window shows them under "Interní
// hodnoty:": input and process value with 3 decimals, value with 2, the
// ratio in per cent with 2; a value the converter flags shows its fault
// text instead ("Porucha" for input and process value, "Neplatná" for the
// value).
enum class LiveQuantity { Input, Process, Value, Ratio };
inline constexpr std::array<LiveQuantity, 4> LiveQuantities = {LiveQuantity::Input, LiveQuantity::Process,
                                                               LiveQuantity::Value, LiveQuantity::Ratio};

// The window's label: "Vstup", "Proces", "Hodnota", "Ratio [%]".
std::string_view liveLabel(LiveQuantity quantity);
// The JSON and CSV name: "input", "process", "value", "ratio".
std::string_view liveKey(LiveQuantity quantity);
std::optional<float> liveOf(const LiveReading& live, LiveQuantity quantity);
// The fault text when the converter flags this value (the ratio is never flagged).
std::optional<std::string_view> liveFault(LiveQuantity quantity, float value);
// The window's text; empty when the value could not be read.
std::string liveText(LiveQuantity quantity, std::optional<float> value);
// The same for a log that scripts read: every value exactly, in the fewest
// digits that read back to the same float32 (the ratio in per cent: the
// fewest digits whose hundredth reads back to the same float32).
std::string liveExactText(LiveQuantity quantity, std::optional<float> value);

// {"input": 1.5, "process": null, ..., "faults": {"process": "Porucha"}}:
// the values as read (the ratio as a fraction), null where flagged or not
// read; "faults" names the flagged ones with the window's text.
Json liveJson(const LiveReading& live);
