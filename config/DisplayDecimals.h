#pragma once

// The decimals the window's edits and displays give each value, so that the
// command line shows them the same.
namespace display_decimals {

inline constexpr int Scale = 2;
inline constexpr int Range = 2;
inline constexpr int Divider = 2;
inline constexpr int Shunt = 3;
inline constexpr int Relay = 2;

} // namespace display_decimals
