#pragma once

#include <optional>
#include <string>

namespace sim {

// The converter's end of the serial line: the master side of a new
// pseudo-terminal, or an existing serial device. Raw, non-blocking.
class SerialLine {
public:
    SerialLine(const SerialLine&) = delete;
    SerialLine& operator=(const SerialLine&) = delete;
    SerialLine(SerialLine&& other) noexcept;
    SerialLine& operator=(SerialLine&& other) noexcept;
    ~SerialLine();

    // Empty and an error text in `error` on failure.
    static std::optional<SerialLine> createPseudoTerminal(std::string& error);
    static std::optional<SerialLine> openDevice(const std::string& path, unsigned baud, std::string& error);

    int fd() const { return fd_; }
    // The path a client opens.
    const std::string& path() const { return path_; }
    // Hangs the line up, as a pulled adapter does: the client's reads and
    // writes fail from then on. fd() is -1 afterwards.
    void close();

private:
    SerialLine(int fd, int keepOpen, std::string path);

    int fd_ = -1;
    // Our own handle on the terminal side, so that the line does not hang
    // up between clients.
    int keepOpen_ = -1;
    std::string path_;
};

} // namespace sim
