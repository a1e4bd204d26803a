#pragma once

#include <chrono>

// How often a long wait looks whether the user asked to stop.
inline constexpr std::chrono::milliseconds StopCheckStep{50};

// Whole milliseconds until deadline, rounded up; 0 once it has passed. The
// form poll() and the socket waits take.
inline int millisecondsLeft(std::chrono::steady_clock::time_point deadline)
{
    const auto left =
        std::chrono::ceil<std::chrono::milliseconds>(deadline - std::chrono::steady_clock::now()).count();
    return left > 0 ? static_cast<int>(left) : 0;
}
