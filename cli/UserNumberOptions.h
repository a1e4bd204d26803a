#pragma once

#include <CLI/CLI.hpp>

#include <cstdint>

// The checks of config/UserNumbers as CLI11 validators, so a bad number is a
// usage error before anything is opened.
CLI::Validator userReal();
// A real above zero: a divider or a shunt, which the converter divides by.
CLI::Validator positiveUserReal();
CLI::Validator userInteger(std::int64_t low, std::int64_t high);
