#pragma once

#include <chrono>
#include <cstdint>
#include <functional>
#include <sys/types.h>
#include <string>
#include <vector>

// One run of the dnx8 program as a child process.
struct ProgramRun {
    int exitCode = -1; // -1: killed or did not end
    std::string out;
    std::string err;
    std::chrono::milliseconds elapsed{0};
};

// Runs dnx8 with the arguments and waits at most `within` (then kills it).
// While it runs, during(pid) is called every few milliseconds until it
// returns true: a test sends a signal or pulls the line from there.
ProgramRun RunDnx8(const std::vector<std::string>& arguments,
                   std::chrono::milliseconds within = std::chrono::seconds(60),
                   const std::function<bool(pid_t)>& during = {});

// The requests in a dnx8sim trace file ("0.012 request 01 21 00 DE"), as bytes.
std::vector<std::vector<std::uint8_t>> TracedRequests(const std::string& traceFile);
