#pragma once

#include "simulator/SimulatedConverter.h"

#include <string>
#include <string_view>
#include <vector>

namespace sim {

// What a control line asks of the serial line itself; the program's loop
// carries it out, since only it holds the line.
enum class LineChange { None, Close, Open };

struct ControlReply {
    bool ok = true;
    std::vector<std::string> lines; // output of get and dump
    std::string error;
    bool quit = false;
    LineChange line = LineChange::None;
};

// Line commands that change the simulated converter while it runs. Values
// set here are stored as given, without the clipping a write over the
// line gets, so that tests can present the tool with any memory content.
class ControlInterpreter {
public:
    explicit ControlInterpreter(SimulatedConverter& converter) : converter_(converter) {}

    ControlReply execute(std::string_view line, double seconds);

    // Every stored parameter, the live values, the commit count and the
    // active faults, one per line, in the syntax `set` accepts.
    std::vector<std::string> dump(double seconds) const;

private:
    using Words = std::span<const std::string_view>;
    ControlReply set(Words words);
    ControlReply get(Words words, double seconds) const;
    ControlReply live(Words words);
    ControlReply fault(Words words);
    ControlReply dumpTo(Words words, double seconds) const;

    SimulatedConverter& converter_;
};

} // namespace sim
