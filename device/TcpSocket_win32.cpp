#include "device/TcpSocket.h"

#include "device/Deadline.h"

#include <winsock2.h>
#include <ws2tcpip.h>

#include <algorithm>
#include <chrono>

namespace {

using Clock = std::chrono::steady_clock;

bool waitFor(SOCKET s, short events, Clock::time_point deadline, short& revents)
{
    WSAPOLLFD p{s, events, 0};
    const int r = ::WSAPoll(&p, 1, millisecondsLeft(deadline));
    revents = p.revents;
    return r > 0;
}

// Waits for a connect in short steps so that a stop is seen.
bool waitConnected(SOCKET s, Clock::time_point deadline, const std::function<bool()>& stopped, bool& wasStopped)
{
    for (;;) {
        short revents = 0;
        if (waitFor(s, POLLWRNORM, std::min(deadline, Clock::now() + StopCheckStep), revents))
            return true;
        wasStopped = stopped && stopped();
        if (wasStopped || Clock::now() >= deadline)
            return false;
    }
}

// Winsock wants starting once per process; it stays up until the end.
bool startWinsock()
{
    static const bool started = [] {
        WSADATA data;
        return ::WSAStartup(MAKEWORD(2, 2), &data) == 0;
    }();
    return started;
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
    failure = Failure::Other;
    error = "cannot start the network (Winsock)";
    if (!startWinsock())
        return false;
    const std::string where = (host.find(':') != std::string::npos ? "[" + host + "]" : host) + ":" +
                              std::to_string(port);
    addrinfo hints{};
    hints.ai_family = AF_UNSPEC;
    hints.ai_socktype = SOCK_STREAM;
    hints.ai_flags = AI_NUMERICSERV;
    addrinfo* found = nullptr;
    if (::getaddrinfo(host.c_str(), std::to_string(port).c_str(), &hints, &found) != 0) {
        failure = Failure::NotResolved;
        error = "the host name " + host + " does not resolve";
        return false;
    }
    const auto deadline = Clock::now() + std::chrono::milliseconds(timeoutMs);
    error = "cannot connect to " + where;
    for (addrinfo* a = found; a && handle == InvalidHandle; a = a->ai_next) {
        SOCKET s = ::socket(a->ai_family, a->ai_socktype, a->ai_protocol);
        if (s == INVALID_SOCKET)
            continue;
        u_long nonBlocking = 1;
        ::ioctlsocket(s, FIONBIO, &nonBlocking);
        int result = ::connect(s, a->ai_addr, static_cast<int>(a->ai_addrlen));
        if (result != 0 && ::WSAGetLastError() == WSAEWOULDBLOCK) {
            bool wasStopped = false;
            if (!waitConnected(s, deadline, stopped, wasStopped)) {
                failure = wasStopped ? Failure::Other : Failure::NoAnswer;
                error = wasStopped ? "stopped while connecting to " + where
                                   : where + " does not answer (no connection within " + std::to_string(timeoutMs) +
                                         " ms)";
                ::closesocket(s);
                if (wasStopped)
                    break;
                continue;
            }
            int code = 0;
            int length = sizeof code;
            ::getsockopt(s, SOL_SOCKET, SO_ERROR, reinterpret_cast<char*>(&code), &length);
            ::WSASetLastError(code);
            result = code == 0 ? 0 : -1;
        }
        if (result != 0) {
            const int code = ::WSAGetLastError();
            failure = code == WSAECONNREFUSED ? Failure::Refused
                      : code == WSAETIMEDOUT  ? Failure::NoAnswer
                                              : Failure::Other;
            error = code == WSAECONNREFUSED ? where + " refuses the connection (nothing listens there)"
                                            : "cannot connect to " + where + " (error " + std::to_string(code) + ")";
            ::closesocket(s);
            continue;
        }
        BOOL on = TRUE;
        ::setsockopt(s, IPPROTO_TCP, TCP_NODELAY, reinterpret_cast<const char*>(&on), sizeof on);
        ::setsockopt(s, SOL_SOCKET, SO_KEEPALIVE, reinterpret_cast<const char*>(&on), sizeof on);
        handle = static_cast<std::intptr_t>(s);
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
    ::closesocket(static_cast<SOCKET>(handle));
    handle = InvalidHandle;
}

std::size_t TcpSocket::send(const std::uint8_t* bytes, std::size_t count, int timeoutMs)
{
    if (!isOpen())
        return 0;
    const SOCKET s = static_cast<SOCKET>(handle);
    const auto deadline = Clock::now() + std::chrono::milliseconds(timeoutMs);
    std::size_t done = 0;
    while (done < count) {
        const int n = ::send(s, reinterpret_cast<const char*>(bytes + done), static_cast<int>(count - done), 0);
        if (n > 0) {
            done += static_cast<std::size_t>(n);
            continue;
        }
        if (::WSAGetLastError() != WSAEWOULDBLOCK) {
            close();
            break;
        }
        short revents = 0;
        if (!waitFor(s, POLLWRNORM, deadline, revents))
            break;
    }
    return done;
}

long TcpSocket::receive(std::uint8_t* buffer, std::size_t count, int timeoutMs)
{
    if (!isOpen())
        return -1;
    const SOCKET s = static_cast<SOCKET>(handle);
    const auto deadline = Clock::now() + std::chrono::milliseconds(timeoutMs);
    for (;;) {
        const int n = ::recv(s, reinterpret_cast<char*>(buffer), static_cast<int>(count), 0);
        if (n > 0)
            return n;
        if (n == 0 || ::WSAGetLastError() != WSAEWOULDBLOCK) {
            close();
            return -1;
        }
        short revents = 0;
        if (!waitFor(s, POLLRDNORM, deadline, revents))
            return 0;
    }
}
