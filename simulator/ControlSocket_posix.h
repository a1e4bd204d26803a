#pragma once

#include "simulator/ControlFifo_posix.h"
#include "simulator/LineBuffer.h"

#include <optional>
#include <poll.h>
#include <string>
#include <vector>

namespace sim {

// Control lines over a unix stream socket. Each line is answered with its
// output lines and then "ok" or "error: MESSAGE", so a client knows when
// the change is in place.
class ControlSocket {
public:
    ControlSocket(const ControlSocket&) = delete;
    ControlSocket& operator=(const ControlSocket&) = delete;
    ControlSocket(ControlSocket&& other) noexcept;
    ~ControlSocket();

    // Replaces a stale socket left at `path`; refuses any other file.
    static std::optional<ControlSocket> open(const std::string& path, std::string& error);

    // Adds the listening socket and every client to a poll set.
    void watch(std::vector<pollfd>& fds) const;
    // Accepts and serves whatever poll reported; false when a line asked to quit.
    bool serve(const std::vector<pollfd>& fds, const ControlHandler& handler);

private:
    struct Client {
        int fd;
        LineBuffer lines;
    };
    ControlSocket(int fd, std::string path);
    bool serveClient(Client& client, const ControlHandler& handler, bool& open);

    int fd_ = -1;
    std::string path_;
    std::vector<Client> clients_;
};

} // namespace sim
