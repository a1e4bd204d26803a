#include "device/NetworkPort.h"

#include "device/Deadline.h"

#include "device/PortAddress.h"

#include <algorithm>
#include <chrono>

namespace {

using Clock = std::chrono::steady_clock;

// A wait for the server, cut into steps that look for a stop.
int stepOf(Clock::time_point deadline)
{
    return std::min(millisecondsLeft(deadline), static_cast<int>(StopCheckStep.count()));
}

std::string hexOf(const std::vector<std::uint8_t>& bytes)
{
    static const char digits[] = "0123456789ABCDEF";
    std::string text;
    for (std::uint8_t b : bytes) {
        text += text.empty() ? "" : " ";
        text += digits[b >> 4];
        text += digits[b & 15];
    }
    return text;
}

} // namespace

NetworkPort::NetworkPort() = default;

NetworkPort::~NetworkPort()
{
    close();
}

bool NetworkPort::fail(Failure why, const std::string& text)
{
    // A server that turns a client away often says why in plain text
    // ("Port's device already in use"): pass that on.
    std::string said;
    for (std::uint8_t b : data)
        if (b >= 0x20 && b < 0x7F)
            said += static_cast<char>(b);
    socket.close();
    codec.reset();
    data.clear();
    failure = why;
    failureText = said.empty() || why != Failure::Dropped ? text : text + "; it said: " + said.substr(0, 80);
    return false;
}

bool NetworkPort::open(const std::string& text)
{
    close();
    failure = Failure::None;
    failureText.clear();
    PortAddress address;
    std::string error;
    if (!parsePortAddress(text, address, error) || !address.isNetwork())
        return fail(Failure::BadAddress, error.empty() ? text + " is not a network port" : error);

    if (!socket.connect(address.host, address.port, connectTimeoutMs, stopCheck)) {
        const Failure why = socket.failure == TcpSocket::Failure::NotResolved ? Failure::NotResolved
                            : socket.failure == TcpSocket::Failure::Refused   ? Failure::Refused
                            : socket.failure == TcpSocket::Failure::NoAnswer  ? Failure::NoAnswer
                                                                              : Failure::Other;
        return fail(why, socket.error);
    }
    telnet = address.kind == PortAddress::Kind::Rfc2217;
    if (telnet) {
        codec = std::make_unique<Rfc2217Codec>();
        if (!negotiate())
            return false;
    }
    // Whatever the line said before we came is no reply of ours.
    data.clear();
    return true;
}

bool NetworkPort::negotiate()
{
    const auto deadline = Clock::now() + std::chrono::milliseconds(negotiationTimeoutMs);
    if (!sendRaw(Rfc2217Codec::greeting()))
        return fail(Failure::Dropped, "the device server closed the connection");
    while (!codec->comPortAccepted()) {
        if (codec->comPortRefused())
            return fail(Failure::NotRfc2217, "the device server refuses COM port control (RFC 2217); "
                                             "for a raw TCP port write tcp:// instead");
        if (millisecondsLeft(deadline) == 0)
            return fail(Failure::NotRfc2217, "the device server does not answer the Telnet COM port option "
                                             "(RFC 2217); for a raw TCP port write tcp:// instead");
        if (stopped())
            return fail(Failure::Other, "stopped while the device server was being set up");
        if (!pump(stepOf(deadline)))
            return fail(Failure::Dropped, "the device server closed the connection while it was being set up");
    }

    using C = Rfc2217Codec;
    struct Setting {
        std::uint8_t command;
        std::vector<std::uint8_t> value;
        const char* what;
    };
    const Setting line[] = {
        {C::SetBaudRate, C::baudRateValue(baudRate), "speed"},
        {C::SetDataSize, {8}, "data size"},
        {C::SetParity, {C::ParityNone}, "parity"},
        {C::SetStopSize, {C::StopBitsOne}, "stop bits"},
    };
    const Setting control[] = {
        {C::SetControl, {C::ControlNoFlow}, "flow control"},
        {C::SetControl, {C::ControlDtrOff}, "DTR"},
        {C::SetControl, {C::ControlRtsOff}, "RTS"},
    };
    std::vector<std::uint8_t> commands;
    for (const Setting& s : line) {
        const auto bytes = C::comPortCommand(s.command, s.value);
        commands.insert(commands.end(), bytes.begin(), bytes.end());
    }
    for (const Setting& s : control) {
        const auto bytes = C::comPortCommand(s.command, s.value);
        commands.insert(commands.end(), bytes.begin(), bytes.end());
    }
    if (!sendRaw(commands))
        return fail(Failure::Dropped, "the device server closed the connection while it was being set up");

    // The speed and format must be confirmed as asked: a server that keeps
    // another speed would garble every frame.
    for (const Setting& s : line) {
        while (!codec->answer(s.command)) {
            if (millisecondsLeft(deadline) == 0)
                return fail(Failure::LineRefused,
                            std::string("the device server does not confirm the line's ") + s.what);
            if (stopped())
                return fail(Failure::Other, "stopped while the device server was being set up");
            if (!pump(stepOf(deadline)))
                return fail(Failure::Dropped, "the device server closed the connection while it was being set up");
        }
        if (*codec->answer(s.command) != s.value)
            return fail(Failure::LineRefused, std::string("the device server set the line's ") + s.what + " to " +
                                                  hexOf(*codec->answer(s.command)) + " instead of " +
                                                  hexOf(s.value));
    }
    // Flow control and the modem lines: a server on a real UART answers, one
    // on a line without modem lines stays silent. Wait briefly either way.
    const auto briefly = Clock::now() + std::chrono::milliseconds(controlAnswerWaitMs);
    auto allControlAnswered = [&] {
        return std::all_of(std::begin(control), std::end(control),
                           [&](const Setting& s) { return codec->answered(s.command, s.value); });
    };
    while (!allControlAnswered() && millisecondsLeft(briefly) > 0)
        if (!pump(millisecondsLeft(briefly)))
            return fail(Failure::Dropped, "the device server closed the connection while it was being set up");
    return true;
}

bool NetworkPort::sendRaw(const std::vector<std::uint8_t>& bytes)
{
    const int wait = static_cast<int>(std::max<std::uint32_t>(timeouts.writeTotalTimeoutConstant, 1000));
    return socket.send(bytes.data(), bytes.size(), wait) == bytes.size();
}

bool NetworkPort::pump(int timeoutMs)
{
    std::uint8_t raw[512];
    const long n = socket.receive(raw, sizeof raw, timeoutMs);
    if (n < 0)
        return false;
    if (n == 0)
        return true;
    if (!telnet) {
        data.insert(data.end(), raw, raw + n);
        return true;
    }
    std::vector<std::uint8_t> replies;
    codec->receive(raw, static_cast<std::size_t>(n), data, replies);
    return replies.empty() || sendRaw(replies);
}

void NetworkPort::close()
{
    socket.close();
    codec.reset();
    data.clear();
}

bool NetworkPort::isOpen() const
{
    return socket.isOpen();
}

std::int32_t NetworkPort::read(std::uint8_t* buffer, std::int32_t count)
{
    if (count <= 0)
        return 0;
    const bool noTotal = timeouts.readTotalTimeoutMultiplier == 0 && timeouts.readTotalTimeoutConstant == 0;
    const auto deadline = Clock::now() + std::chrono::milliseconds(std::uint64_t{timeouts.readTotalTimeoutMultiplier} *
                                                                       static_cast<std::uint64_t>(count) +
                                                                   timeouts.readTotalTimeoutConstant);
    std::int32_t got = 0;
    for (;;) {
        while (got < count && !data.empty()) {
            buffer[got++] = data.front();
            data.pop_front();
        }
        if (got == count || !isOpen())
            break;
        const int wait = noTotal ? 1000 : millisecondsLeft(deadline);
        if (!noTotal && wait == 0)
            break;
        if (!pump(wait)) {
            failure = Failure::Dropped;
            failureText = "the device server closed the connection";
            close(); // the bytes taken so far are still handed over
        }
    }
    return got;
}

std::int32_t NetworkPort::write(const std::uint8_t* buffer, std::int32_t count)
{
    if (!isOpen() || count <= 0)
        return 0;
    std::vector<std::uint8_t> bytes;
    if (telnet)
        Rfc2217Codec::escape(buffer, static_cast<std::size_t>(count), bytes);
    else
        bytes.assign(buffer, buffer + count);
    const int wait = static_cast<int>(std::max<std::uint32_t>(timeouts.writeTotalTimeoutConstant, 1));
    if (socket.send(bytes.data(), bytes.size(), wait) != bytes.size()) {
        if (!socket.isOpen()) {
            failure = Failure::Dropped;
            failureText = "the device server closed the connection";
            close();
        }
        return 0;
    }
    return count;
}

void NetworkPort::purge(std::uint32_t flags)
{
    if ((flags & PurgeRxClear) == 0)
        return;
    // What has arrived is stale; take in what is already waiting too, so
    // Telnet's state stays right, and drop it.
    data.clear();
    while (isOpen() && pump(0) && !data.empty())
        data.clear();
}
