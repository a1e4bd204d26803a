#pragma once

// What dnx8 returns; scripts depend on each code meaning one thing.
namespace exit_code {

inline constexpr int Done = 0;
// The port or the converter failed: cannot open, no answer, broken replies,
// an identity other than DNX8.
inline constexpr int DeviceFailed = 1;
// Bad usage or bad input; nothing was sent.
inline constexpr int BadUsage = 2;
// The converter holds something other than what was asked.
inline constexpr int Mismatch = 3;

} // namespace exit_code
