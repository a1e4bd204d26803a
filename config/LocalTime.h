#pragma once

#include <chrono>
#include <string>

// ISO 8601 local time with milliseconds and the offset from UTC:
// 2024-05-14T09:30:00.250+02:00.
std::string localTimeStamp(std::chrono::system_clock::time_point at);
