#pragma once

#include <CLI/CLI.hpp>

// Checks every network address given as a PORT (or as diff's SOURCE) of the
// command being run: a malformed one is bad usage, said on standard error
// before anything is opened. Local names are left to the opening.
bool portArgumentsValid(const CLI::App& parser);
