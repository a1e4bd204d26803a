#pragma once

#include "config/InputRequest.h"
#include "config/PointImport.h"
#include "linearization/PointFileCheck.h"

#include <optional>
#include <string>
#include <string_view>

// The body of POST .../input: the options of `dnx8 input` as JSON with its
// words as values, checked whole before anything is sent: {"kind",
// "variant", "divider", "shunt", "wiring", "mode", "sensor", "type",
// "compensation", "linearization": {"off": [MIN, MAX]} | "keep" |
// {"points": TEXT, "order": N} | {"points": TEXT, "spline": true}}.
struct InputBody {
    InputRequest request;
    // What the import of an uploaded point file left out.
    std::optional<PointFileCheck> pointCheck;
};

// The most text of an uploaded point file.
inline constexpr std::size_t MaxPointText = 48 * 1024;

// The body, or nothing with problem saying what to change.
std::optional<InputBody> parseInputBody(std::string_view body, std::string& problem);

// A point file's text fitted as the import fits it; false with problem when
// the text is too large, the file is bad or the choice is not offered.
bool importPointText(const std::string& text, const FitChoice& choice, LinearizationTable& table,
                     PointFileCheck& check, std::string& problem);
