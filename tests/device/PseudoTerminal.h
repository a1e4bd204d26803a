#pragma once

#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <thread>
#include <vector>

// The far end of a pseudo-terminal: tests open slavePath() as a serial
// port and play the converter through the master side.
class PseudoTerminal {
public:
    using Bytes = std::vector<std::uint8_t>;

    PseudoTerminal();
    ~PseudoTerminal();
    PseudoTerminal(const PseudoTerminal&) = delete;
    PseudoTerminal& operator=(const PseudoTerminal&) = delete;

    const std::string& slavePath() const { return path; }
    int masterFd() const { return master; }

    void send(const Bytes& bytes) const;
    // What arrived within the time given, stopping early once count bytes are there.
    Bytes receive(std::size_t count, int milliseconds) const;

private:
    int master = -1;
    std::string path;
};

// Answers request frames on a pseudo-terminal from a thread. The handler
// gets the command and request data and returns the raw reply bytes, or
// nothing to stay silent.
class ConverterPeer {
public:
    using Handler = std::function<std::optional<PseudoTerminal::Bytes>(std::uint8_t command,
                                                                       const PseudoTerminal::Bytes& data)>;

    ConverterPeer(const PseudoTerminal& line, Handler handler);
    ~ConverterPeer();

private:
    void run();

    const PseudoTerminal& terminal;
    Handler answer;
    std::jthread worker;
};
