#include "tests/device/PseudoTerminal.h"

#include <cerrno>
#include <chrono>
#include <fcntl.h>
#include <poll.h>
#include <stdexcept>
#include <stdlib.h>
#include <unistd.h>

PseudoTerminal::PseudoTerminal()
{
    master = ::posix_openpt(O_RDWR | O_NOCTTY | O_CLOEXEC);
    if (master < 0 || ::grantpt(master) != 0 || ::unlockpt(master) != 0)
        throw std::runtime_error("no pseudo-terminal");
    path = ::ptsname(master);
}

PseudoTerminal::~PseudoTerminal()
{
    ::close(master);
}

void PseudoTerminal::send(const Bytes& bytes) const
{
    std::size_t done = 0;
    while (done < bytes.size()) {
        const ssize_t n = ::write(master, bytes.data() + done, bytes.size() - done);
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0)
            return;
        done += static_cast<std::size_t>(n);
    }
}

PseudoTerminal::Bytes PseudoTerminal::receive(std::size_t count, int milliseconds) const
{
    using Clock = std::chrono::steady_clock;
    const auto deadline = Clock::now() + std::chrono::milliseconds(milliseconds);
    Bytes got;
    while (got.size() < count) {
        const auto left =
            std::chrono::duration_cast<std::chrono::milliseconds>(deadline - Clock::now()).count();
        pollfd p{master, POLLIN, 0};
        if (left <= 0 || ::poll(&p, 1, static_cast<int>(left)) <= 0 || !(p.revents & POLLIN))
            break;
        std::uint8_t buffer[256];
        const ssize_t n = ::read(master, buffer, sizeof(buffer));
        if (n <= 0)
            break;
        got.insert(got.end(), buffer, buffer + n);
    }
    return got;
}

ConverterPeer::ConverterPeer(const PseudoTerminal& line, Handler handler)
    : terminal(line), answer(std::move(handler)), worker([this] { run(); })
{
}

ConverterPeer::~ConverterPeer()
{
    worker.request_stop();
}

void ConverterPeer::run()
{
    PseudoTerminal::Bytes pending;
    const auto stop = worker.get_stop_token();
    while (!stop.stop_requested()) {
        const PseudoTerminal::Bytes more = terminal.receive(1, 20);
        if (more.empty()) {
            // With no port open the master reports a hang-up at once.
            std::this_thread::sleep_for(std::chrono::milliseconds(5));
            continue;
        }
        pending.insert(pending.end(), more.begin(), more.end());
        // Drop anything before a start byte, then serve whole frames.
        while (!pending.empty() && pending.front() != 0x01)
            pending.erase(pending.begin());
        if (pending.size() < 3 || pending.size() < 4u + pending[2])
            continue;
        const std::uint8_t command = pending[1];
        const PseudoTerminal::Bytes data(pending.begin() + 3, pending.begin() + 3 + pending[2]);
        pending.erase(pending.begin(), pending.begin() + 4 + pending[2]);
        if (const auto reply = answer(command, data))
            terminal.send(*reply);
    }
}
