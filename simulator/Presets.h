#pragma once

#include "simulator/ParameterMemory.h"

#include <span>
#include <string_view>

namespace sim {

struct Preset {
    std::string_view name;
    std::string_view description;
    void (*fill)(ParameterMemory& memory);
};

// Named initial states of the converter's memory.
std::span<const Preset> Presets();
inline constexpr std::string_view DefaultPreset = "voltage";

// Replaces the whole memory with the preset; false for an unknown name.
bool ApplyPreset(std::string_view name, ParameterMemory& memory);

} // namespace sim
