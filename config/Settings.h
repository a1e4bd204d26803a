#pragma once

#include "device/RelaySettings.h"

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

// One SETTING=VALUE of `dnx8 set`: filter=0..30, scale-min=X, scale-max=X,
// error-state=none|under|over|input, relay1=MODE,ON,ONDELAY,OFF,OFFDELAY
// and relay2=... (MODE hysteresis or window, delays 0..65535).
struct Setting {
    enum class Kind { Filter, ScaleMin, ScaleMax, ErrorState, Relay1, Relay2 };
    Kind kind = Kind::Filter;
    std::uint8_t code = 0; // filter, error state
    float real = 0;        // scale
    RelaySettings relay;   // relays
};

// The setting, or nothing with problem saying what is wrong.
std::optional<Setting> parseSetting(std::string_view text, std::string& problem);
