#pragma once

#include "config/OutputFile.h"

#include <optional>
#include <string>

// Opens `-o FILE` before the converter is asked, so that a place that cannot
// be written stops the command with nothing sent. An empty name means
// standard output and leaves `output` empty. False (with the message on
// standard error) when the file cannot be made.
bool openOutputBeforeSending(const std::string& name, std::optional<OutputFile>& output);
