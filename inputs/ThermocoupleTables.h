#pragma once

#include "inputs/ThermocoupleCurve.h"

#include <span>

// The built-in thermocouple types in catalog order (B, E, J, K, L, N, R, S, T).
// Static data: curves may keep references into it.
std::span<const ThermocoupleCurve::Data> ThermocoupleTypes();
