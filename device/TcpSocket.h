#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <string>

// One TCP connection to a serial device server, used synchronously with a
// time-out on every wait. Backends: POSIX sockets and Winsock.
class TcpSocket {
public:
    // Why a connection could not be made, for messages and the port doctor.
    enum class Failure { None, NotResolved, Refused, NoAnswer, Other };

    TcpSocket() = default;
    ~TcpSocket();
    TcpSocket(const TcpSocket&) = delete;
    TcpSocket& operator=(const TcpSocket&) = delete;

    // Resolves host and connects to the first address that takes the
    // connection within timeoutMs. False with the failure and a message.
    // stopped, when given, is asked while waiting: once it says yes the
    // connect gives up (Failure::Other), so Ctrl+C need not wait out a
    // server that does not answer.
    bool connect(const std::string& host, std::uint16_t port, int timeoutMs,
                 const std::function<bool()>& stopped = {});
    void close();
    bool isOpen() const { return handle != InvalidHandle; }

    // Sends everything unless the time runs out or the connection breaks;
    // the count sent.
    std::size_t send(const std::uint8_t* bytes, std::size_t count, int timeoutMs);
    // Waits at most timeoutMs for bytes: how many arrived, 0 when none came
    // in time, -1 when the connection is closed or broken.
    long receive(std::uint8_t* buffer, std::size_t count, int timeoutMs);

    Failure failure = Failure::None;
    std::string error; // what went wrong, for a person

private:
    static constexpr std::intptr_t InvalidHandle = -1;
    std::intptr_t handle = InvalidHandle;
};
