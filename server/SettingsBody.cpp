#include "server/SettingsBody.h"

#include <array>
#include <charconv>
#include <cmath>
#include <utility>

namespace {

struct Parameter {
    std::string_view name;      // in the body
    std::string_view cliName;   // as `dnx8 set` names it
    Setting::Kind kind;
};

// In the order they are written.
constexpr std::array<Parameter, 6> Parameters = {{
    {"Filter", "filter", Setting::Kind::Filter},
    {"ScaleMin", "scale-min", Setting::Kind::ScaleMin},
    {"ScaleMax", "scale-max", Setting::Kind::ScaleMax},
    {"ErrorSignalling", "error-state", Setting::Kind::ErrorState},
    {"Relay1", "relay1", Setting::Kind::Relay1},
    {"Relay2", "relay2", Setting::Kind::Relay2},
}};

constexpr std::array<std::string_view, 4> ErrorStateWords = {"none", "under", "over", "input"};
constexpr std::array<std::string_view, 5> RelayFields = {"onValue", "offValue", "onDelay", "offDelay", "mode"};

std::string settingNames()
{
    std::string names;
    for (const Parameter& p : Parameters)
        names += (names.empty() ? "" : ", ") + std::string(p.name);
    return names;
}

// A JSON number as `dnx8 set` reads it. Numbers must be JSON numbers: a text
// such as "0,5" or "12.5" is refused, not guessed at.
bool numberText(const Json& value, std::string_view what, std::string& text, std::string& problem)
{
    if (value.is_number_integer()) {
        text = value.is_number_unsigned() ? std::to_string(value.get<std::uint64_t>())
                                          : std::to_string(value.get<std::int64_t>());
        return true;
    }
    if (value.is_number_float()) {
        const float real = value.get<float>();
        if (!std::isfinite(real)) {
            problem = std::string(what) + " is too large for the converter's 32-bit real";
            return false;
        }
        char buffer[32];
        text.assign(buffer, std::to_chars(buffer, buffer + sizeof buffer, real).ptr);
        return true;
    }
    problem = std::string(what) + " must be a JSON number such as 12.5 (a decimal point, no quotes), not " +
              (value.is_string() ? "the text " + value.dump() : value.dump());
    return false;
}

// `dnx8 set`'s "filter: why" as "Filter: why".
std::string inApiWords(const std::string& problem, std::string_view cliName, std::string_view name)
{
    std::string text = problem;
    if (text.starts_with(std::string(cliName) + ": "))
        text = std::string(name) + text.substr(cliName.size());
    return text;
}

bool relayText(const Json& value, std::string_view name, std::string& text, std::string& problem)
{
    const std::string example = "{\"onValue\": 80, \"offValue\": 75, \"onDelay\": 2, \"offDelay\": 2, \"mode\": 0}";
    if (!value.is_object()) {
        problem = std::string(name) + " must be an object such as " + example;
        return false;
    }
    for (const auto& [key, field] : value.items())
        if (std::find(RelayFields.begin(), RelayFields.end(), key) == RelayFields.end()) {
            problem = std::string(name) + ": unknown field \"" + key + "\"; a relay has onValue, offValue, "
                      "onDelay, offDelay and mode";
            return false;
        }
    std::array<std::string, 5> parts;
    for (std::size_t i = 0; i < RelayFields.size(); ++i) {
        const std::string field(RelayFields[i]);
        if (!value.contains(field)) {
            problem = std::string(name) + " needs all of onValue, offValue, onDelay, offDelay and mode, e.g. " +
                      example;
            return false;
        }
        if (!numberText(value[field], std::string(name) + "." + field, parts[i], problem))
            return false;
    }
    if (parts[4] != "0" && parts[4] != "1") {
        problem = std::string(name) + ".mode is 0 (hysteresis) or 1 (window), not " + parts[4];
        return false;
    }
    const std::string mode = parts[4] == "0" ? "hysteresis" : "window";
    text = mode + "," + parts[0] + "," + parts[2] + "," + parts[1] + "," + parts[3];
    return true;
}

} // namespace

std::optional<SettingsBody> parseSettingsBody(std::string_view body, std::string& problem)
{
    const std::string what = " Send a JSON object with any of " + settingNames() +
                             ", e.g. {\"Filter\": 5, \"ScaleMin\": 0.5}. Nothing was sent to the converter.";
    const Json json = Json::parse(body, nullptr, false);
    if (json.is_discarded()) {
        // Read as doubles, a body that holds a number beyond float's range parses.
        problem = nlohmann::json::parse(body, nullptr, false).is_discarded()
                      ? "the body is no valid JSON." + what
                      : "a number in the body is too large for the converter's 32-bit real." + what;
        return std::nullopt;
    }
    if (!json.is_object() || json.empty()) {
        problem = "the body names no setting." + what;
        return std::nullopt;
    }
    for (const auto& [key, value] : json.items()) {
        if (std::none_of(Parameters.begin(), Parameters.end(), [&](const Parameter& p) { return p.name == key; })) {
            problem = "unknown setting \"" + key + "\"; the settings are " + settingNames() + ". Nothing was sent to the converter.";
            return std::nullopt;
        }
    }
    SettingsBody settings;
    for (const Parameter& p : Parameters) {
        const std::string name(p.name);
        if (!json.contains(name))
            continue;
        const Json& value = json[name];
        std::string text;
        bool ok = false;
        if (p.kind == Setting::Kind::Relay1 || p.kind == Setting::Kind::Relay2) {
            ok = relayText(value, p.name, text, problem);
        } else if (p.kind == Setting::Kind::ErrorState) {
            ok = numberText(value, p.name, text, problem);
            if (ok && (text.size() != 1 || text[0] < '0' || text[0] > '3')) {
                problem = "ErrorSignalling is 0 (none), 1 (under), 2 (over) or 3 (input), not " + text;
                ok = false;
            }
            if (ok)
                text = std::string(ErrorStateWords[static_cast<std::size_t>(text[0] - '0')]);
        } else {
            ok = numberText(value, p.name, text, problem);
        }
        if (!ok) {
            problem += ". Nothing was sent to the converter.";
            return std::nullopt;
        }
        std::string why;
        std::optional<Setting> setting = core::parseSettingText(std::string(p.cliName) + "=" + text, why);
        if (!setting) {
            problem = inApiWords(why, p.cliName, p.name) + ". Nothing was sent to the converter.";
            return std::nullopt;
        }
        settings.items.push_back({name, *setting});
    }
    return settings;
}

std::optional<SettingEcho> writeSetting(ConverterLink& link, const Setting& s)
{
    SettingEcho echo;
    bool written = false;
    switch (s.kind) {
    case Setting::Kind::Filter: {
        std::uint8_t stored = 0;
        written = link.writeFilter(s.code, stored);
        echo = {Json(stored), stored != s.code};
        break;
    }
    case Setting::Kind::ScaleMin:
    case Setting::Kind::ScaleMax: {
        float stored = s.real;
        written = s.kind == Setting::Kind::ScaleMin ? link.writeScaleMin(stored) : link.writeScaleMax(stored);
        echo = {Json(stored), stored != s.real};
        break;
    }
    case Setting::Kind::ErrorState: {
        std::uint8_t stored = s.code;
        written = link.writeErrorSignalling(stored);
        echo = {Json(stored), stored != s.code};
        break;
    }
    case Setting::Kind::Relay1:
    case Setting::Kind::Relay2: {
        RelaySettings stored = s.relay;
        written = s.kind == Setting::Kind::Relay1 ? link.writeRelay1(stored) : link.writeRelay2(stored);
        echo = {core::relayToJson(stored), !(stored == s.relay)};
        break;
    }
    }
    if (!written)
        return std::nullopt;
    return echo;
}
