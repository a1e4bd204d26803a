#include "config/Settings.h"

#include "config/UserNumbers.h"

#include <algorithm>
#include <array>
#include <string>
#include <vector>

namespace {

constexpr std::int64_t MaxFilter = 30;
constexpr std::int64_t MaxDelay = 65535;
constexpr std::array<std::string_view, 4> ErrorStates = {"none", "under", "over", "input"};
constexpr std::array<std::string_view, 2> RelayModes = {"hysteresis", "window"};

bool sameLetters(std::string_view a, std::string_view b)
{
    auto lower = [](char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; };
    return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(),
                                              [&](char x, char y) { return lower(x) == lower(y); });
}

// A name in any case ("Hysteresis", "OVER"), or its code as the docs list it.
template <std::size_t N>
std::optional<std::uint8_t> indexOf(const std::array<std::string_view, N>& names, std::string_view text)
{
    for (std::size_t i = 0; i < N; ++i)
        if (sameLetters(names[i], text) || text == std::to_string(i))
            return static_cast<std::uint8_t>(i);
    return std::nullopt;
}

std::vector<std::string_view> splitAtCommas(std::string_view text)
{
    std::vector<std::string_view> parts;
    for (;;) {
        const auto comma = text.find(',');
        parts.push_back(text.substr(0, comma));
        if (comma == std::string_view::npos)
            return parts;
        text.remove_prefix(comma + 1);
    }
}

bool parseRelay(std::string_view value, RelaySettings& relay, std::string& problem)
{
    const std::vector<std::string_view> parts = splitAtCommas(value);
    if (parts.size() != 5) {
        problem = "takes MODE,ON,ONDELAY,OFF,OFFDELAY, e.g. hysteresis,80,2,75,2 (decimals with a point)";
        return false;
    }
    const auto mode = indexOf(RelayModes, parts[0]);
    if (!mode) {
        problem = "mode \"" + std::string(parts[0]) + "\" is neither hysteresis nor window";
        return false;
    }
    for (std::size_t i : {1u, 3u})
        if (std::string p = realProblem(parts[i]); !p.empty()) {
            problem = (i == 1 ? "ON value " : "OFF value ") + p;
            return false;
        }
    for (std::size_t i : {2u, 4u})
        if (std::string p = integerProblem(parts[i], 0, MaxDelay); !p.empty()) {
            problem = (i == 2 ? "ON delay " : "OFF delay ") + p;
            return false;
        }
    relay.mode = *mode;
    relay.onValue = *readUserReal(parts[1]);
    relay.onDelay = static_cast<std::uint16_t>(*readUserInteger(parts[2], 0, MaxDelay));
    relay.offValue = *readUserReal(parts[3]);
    relay.offDelay = static_cast<std::uint16_t>(*readUserInteger(parts[4], 0, MaxDelay));
    return true;
}

bool parseValue(Setting& setting, std::string_view value, std::string& problem)
{
    switch (setting.kind) {
    case Setting::Kind::Filter:
        problem = integerProblem(value, 0, MaxFilter);
        if (problem.empty())
            setting.code = static_cast<std::uint8_t>(*readUserInteger(value, 0, MaxFilter));
        break;
    case Setting::Kind::ScaleMin:
    case Setting::Kind::ScaleMax:
        problem = realProblem(value);
        if (problem.empty())
            setting.real = *readUserReal(value);
        break;
    case Setting::Kind::ErrorState:
        if (auto code = indexOf(ErrorStates, value))
            setting.code = *code;
        else
            problem = "\"" + std::string(value) + "\" is none of none, under, over, input (or their codes 0..3)";
        break;
    case Setting::Kind::Relay1:
    case Setting::Kind::Relay2:
        parseRelay(value, setting.relay, problem);
        break;
    }
    return problem.empty();
}

} // namespace

std::optional<Setting> parseSetting(std::string_view text, std::string& problem)
{
    static constexpr std::array<std::pair<std::string_view, Setting::Kind>, 6> names = {{
        {"filter", Setting::Kind::Filter},
        {"scale-min", Setting::Kind::ScaleMin},
        {"scale-max", Setting::Kind::ScaleMax},
        {"error-state", Setting::Kind::ErrorState},
        {"relay1", Setting::Kind::Relay1},
        {"relay2", Setting::Kind::Relay2},
    }};
    const auto equals = text.find('=');
    if (equals == std::string_view::npos) {
        problem = "\"" + std::string(text) + "\" is not SETTING=VALUE";
        return std::nullopt;
    }
    const std::string_view name = text.substr(0, equals);
    Setting setting;
    bool known = false;
    for (const auto& [settingName, kind] : names)
        if (settingName == name) {
            setting.kind = kind;
            known = true;
        }
    if (!known) {
        problem = "unknown setting \"" + std::string(name) +
                  "\"; the settings are filter, scale-min, scale-max, error-state, relay1, relay2";
        return std::nullopt;
    }
    std::string why;
    if (!parseValue(setting, text.substr(equals + 1), why)) {
        problem = std::string(name) + ": " + why;
        return std::nullopt;
    }
    return setting;
}
