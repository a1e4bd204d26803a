#pragma once

#include "simulator/ParameterMemory.h"

#include <string_view>

namespace sim {

// Loads what the tool writes for a built-in sensor (range, polynomial with
// its degree, for thermocouples the four EmfRange pieces; no segments), by
// the sensor's display name. False, memory untouched, for an unknown name.
bool LoadRtd(ParameterMemory& memory, std::string_view name);
bool LoadThermocouple(ParameterMemory& memory, std::string_view name);

} // namespace sim
