#pragma once

#include "simulator/ControlInterpreter.h"
#include "simulator/LineBuffer.h"

#include <functional>
#include <optional>
#include <string>
#include <vector>

namespace sim {

using ControlHandler = std::function<ControlReply(const std::string& line)>;

// Control lines written into a FIFO, e.g. `echo "fault silence on" > PATH`.
// Output goes to standard output, errors to standard error.
class ControlFifo {
public:
    ControlFifo(const ControlFifo&) = delete;
    ControlFifo& operator=(const ControlFifo&) = delete;
    ControlFifo(ControlFifo&& other) noexcept;
    ~ControlFifo();

    // Makes the FIFO if it does not exist yet.
    static std::optional<ControlFifo> open(const std::string& path, std::string& error);

    int fd() const { return fd_; }
    // Reads what is there and runs each complete line; false when a line asked to quit.
    bool serve(const ControlHandler& handler);

private:
    ControlFifo(int fd, int writer, std::string path, bool made);

    int fd_ = -1;
    int writer_ = -1; // keeps the FIFO from reporting end of file between writers
    std::string path_;
    bool made_ = false;
    LineBuffer lines_;
};

} // namespace sim
