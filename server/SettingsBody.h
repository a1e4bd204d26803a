#pragma once

#include "server/CoreCalls.h"

#include <optional>
#include <string>
#include <string_view>
#include <vector>

// The body of POST .../settings: any of Filter, ScaleMin, ScaleMax,
// ErrorSignalling, Relay1, Relay2 with the values of `dnx8 read --json`
// (relays as {"onValue", "offValue", "onDelay", "offDelay", "mode"}),
// checked whole by `dnx8 set`'s rules before anything is sent.
struct SettingsBody {
    struct Item {
        std::string name; // the parameter name
        Setting setting;
    };
    // In the order they are written, whatever the order in the body.
    std::vector<Item> items;
};

// The settings, or nothing with problem saying what to change.
std::optional<SettingsBody> parseSettingsBody(std::string_view body, std::string& problem);

// One written setting as the converter echoed it: the echo in the body's
// vocabulary, and whether it differs from what was asked.
struct SettingEcho {
    Json value;
    bool differs = false;
};

// Writes one setting; nothing when the converter did not confirm it.
std::optional<SettingEcho> writeSetting(ConverterLink& link, const Setting& setting);
