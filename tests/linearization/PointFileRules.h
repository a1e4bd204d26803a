#pragma once

#include <string_view>
#include <utility>
#include <vector>

// The points of a point file's bytes as the file rules define them, worked
// out from the bytes in memory with nothing of the reader: line ends, the
// Ctrl-Z end, the 127-character cut, comments, fields split at blanks, the
// grammar as an automaton, the value from strtod in the C locale and the
// float range as its limit. The reader must give these points, to the bit.
std::vector<std::pair<double, double>> PointsByTheRules(std::string_view bytes);
