#pragma once

#include <string>

// The text `dnx8 --version` prints after the program name.
std::string ProgramVersionText();
