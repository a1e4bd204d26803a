#include "device/TcpSocket.h"

#include "device/Deadline.h"

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <cstring>
#include <fcntl.h>
#include <netdb.h>
#include <netinet/in.h>
#include <netinet/tcp.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

namespace {

using Clock = std::chrono::steady_clock;

// Ready for the events, or false when the time is up.
bool waitFor(int fd, short events, Clock::time_point deadline, short& revents)
{
    pollfd p{fd, events, 0};
    for (;;) {
        const int r = ::poll(&p, 1, millisecondsLeft(deadline));
        if (r < 0 && errno == EINTR)
            continue;
        revents = p.revents;
        return r > 0;
    }
}

// Waits for a connect in short steps so that a stop is seen.
bool waitConnected(int fd, Clock::time_point deadline, const std::function<bool()>& stopped, bool& wasStopped)
{
    for (;;) {
        short revents = 0;
        if (waitFor(fd, POLLOUT, std::min(deadline, Clock::now() + StopCheckStep), revents))
            return true;
        wasStopped = stopped && stopped();
        if (wasStopped || Clock::now() >= deadline)
            return false;
    }
}

} // namespace

TcpSocket::~TcpSocket()
{
    close();
}

bool TcpSocket::connect(const std::string& host, std::uint16_t port, int timeoutMs,
                        const std::function<bool()>& stopped)
{
    close();
    failure = Failure::None;
    error.clear();
    const std::string where = (host.find(':') != std::string::npos ? "[" + host + "]" : host) + ":" +
                              std::to_string(port);

    addrinfo hints{};
    hints.ai_family = AF_UNSPEC;
    hints.ai_socktype = SOCK_STREAM;
    hints.ai_flags = AI_NUMERICSERV;
    addrinfo* found = nullptr;
    const int resolved = ::getaddrinfo(host.c_str(), std::to_string(port).c_str(), &hints, &found);
    if (resolved != 0) {
        failure = Failure::NotResolved;
        error = "the host name " + host + " does not resolve (" + ::gai_strerror(resolved) + ")";
        return false;
    }

    const auto deadline = Clock::now() + std::chrono::milliseconds(timeoutMs);
    failure = Failure::Other;
    error = "cannot connect to " + where;
    for (addrinfo* a = found; a && handle == InvalidHandle; a = a->ai_next) {
        const int fd = ::socket(a->ai_family, a->ai_socktype | SOCK_NONBLOCK | SOCK_CLOEXEC, a->ai_protocol);
        if (fd < 0)
            continue;
        int result = ::connect(fd, a->ai_addr, a->ai_addrlen);
        if (result != 0 && errno == EINPROGRESS) {
            bool wasStopped = false;
            if (!waitConnected(fd, deadline, stopped, wasStopped)) {
                failure = wasStopped ? Failure::Other : Failure::NoAnswer;
                error = wasStopped ? "stopped while connecting to " + where
                                   : where + " does not answer (no connection within " + std::to_string(timeoutMs) +
                                         " ms)";
                ::close(fd);
                if (wasStopped)
                    break;
                continue;
            }
            int code = 0;
            socklen_t length = sizeof code;
            ::getsockopt(fd, SOL_SOCKET, SO_ERROR, &code, &length);
            errno = code;
            result = code == 0 ? 0 : -1;
        }
        if (result != 0) {
            if (errno == ECONNREFUSED) {
                failure = Failure::Refused;
                error = where + " refuses the connection (nothing listens there)";
            } else {
                failure = errno == ETIMEDOUT || errno == EHOSTUNREACH || errno == ENETUNREACH ? Failure::NoAnswer
                                                                                                : Failure::Other;
                error = "cannot connect to " + where + ": " + std::strerror(errno);
            }
            ::close(fd);
            continue;
        }
        // Frames are a few bytes: send each at once rather than wait to fill
        // a segment.
        int on = 1;
        ::setsockopt(fd, IPPROTO_TCP, TCP_NODELAY, &on, sizeof on);
        ::setsockopt(fd, SOL_SOCKET, SO_KEEPALIVE, &on, sizeof on);
        handle = fd;
    }
    ::freeaddrinfo(found);
    if (handle == InvalidHandle)
        return false;
    failure = Failure::None;
    error.clear();
    return true;
}

void TcpSocket::close()
{
    if (handle == InvalidHandle)
        return;
    ::close(static_cast<int>(handle));
    handle = InvalidHandle;
}

std::size_t TcpSocket::send(const std::uint8_t* bytes, std::size_t count, int timeoutMs)
{
    if (!isOpen())
        return 0;
    const int fd = static_cast<int>(handle);
    const auto deadline = Clock::now() + std::chrono::milliseconds(timeoutMs);
    std::size_t done = 0;
    while (done < count) {
        const ssize_t n = ::send(fd, bytes + done, count - done, MSG_NOSIGNAL);
        if (n > 0) {
            done += static_cast<std::size_t>(n);
            continue;
        }
        if (n < 0 && errno == EINTR)
            continue;
        if (n < 0 && errno != EAGAIN && errno != EWOULDBLOCK) {
            close(); // reset or broken pipe: the server is gone
            break;
        }
        short revents = 0;
        if (!waitFor(fd, POLLOUT, deadline, revents))
            break;
    }
    return done;
}

long TcpSocket::receive(std::uint8_t* buffer, std::size_t count, int timeoutMs)
{
    if (!isOpen())
        return -1;
    const int fd = static_cast<int>(handle);
    const auto deadline = Clock::now() + std::chrono::milliseconds(timeoutMs);
    for (;;) {
        const ssize_t n = ::recv(fd, buffer, count, 0);
        if (n > 0)
            return static_cast<long>(n);
        if (n == 0) {
            close(); // the server closed the connection
            return -1;
        }
        if (errno == EINTR)
            continue;
        if (errno != EAGAIN && errno != EWOULDBLOCK) {
            close();
            return -1;
        }
        short revents = 0;
        if (!waitFor(fd, POLLIN, deadline, revents))
            return 0;
    }
}
