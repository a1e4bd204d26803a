#pragma once

#include <sys/types.h>

#include <string>
#include <vector>

// A dnx8sim started for a benchmark: its line path from the first line of
// its output; stopped (SIGTERM, waited for) on destruction, which also
// completes its trace file.
class BenchSimulator {
public:
    bool start(const std::string& program, const std::vector<std::string>& args);
    void stop();
    ~BenchSimulator() { stop(); }

    const std::string& line() const { return line_; }

private:
    pid_t pid_ = -1;
    std::string line_;
};

// Runs program with args, standard output to /dev/null; its exit status, or
// -1 when it could not be started.
int RunProgram(const std::string& program, const std::vector<std::string>& args);

// The bytes on the wire recorded in a dnx8sim trace: requests, replies and
// noise together.
std::size_t TracedBytes(const std::string& traceFile);

// Puts this process (and the programs it starts) on the lowest real-time
// priority, so that other work on the machine cannot delay their wake-ups;
// false (with the reason on standard error) where that is not permitted.
bool RunRealtime();
