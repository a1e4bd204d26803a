#pragma once

#include <string_view>

// Writes "dnx8: message" to standard error and returns exitCode, so a
// command ends with `return fail(exit_code::BadUsage, "...");`. Messages
// say what went wrong and what to do.
int fail(int exitCode, std::string_view message);
