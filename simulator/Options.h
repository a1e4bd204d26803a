#pragma once

#include <span>
#include <string>
#include <vector>

namespace sim {

struct Options {
    std::string preset;
    std::string link;                  // symlink to the pseudo-terminal
    std::string device;                // existing serial device instead of a pseudo-terminal
    std::string trace;                 // trace file
    std::string control;               // FIFO of control lines
    std::string controlSocket;         // unix socket of control lines, answered
    unsigned baud = 0;                 // 0: unpaced
    std::vector<std::string> commands; // control lines run at start
    bool help = false;
    bool version = false;
};

// Empty on success, else the message for the user.
std::string ParseOptions(std::span<char* const> args, Options& options);

std::string HelpText();

// "dnx8sim VERSION", one line.
std::string VersionText();

} // namespace sim
