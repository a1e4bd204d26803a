#pragma once

#include <string>

// Why a port cannot be opened, in the system's terms and with what would
// help: "no such device", "permission denied ... group dialout", "held by
// another program", "not a terminal". Asked after an open failed; it sends
// nothing on the line.
std::string portOpenProblem(const std::string& portName);
