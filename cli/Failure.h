#pragma once

#include <string_view>

// Writes "dnx8: message" to standard error and returns exitCode, so a
// command ends with `return Fail(exit_code::BadUsage, "...");`. Messages
// say what went wrong and what to do.
int Fail(int exitCode, std::string_view message);
