#pragma once

#include "device/ByteTransport.h"
#include "device/CommTimeouts.h"
#include "device/Rfc2217Codec.h"
#include "device/TcpSocket.h"

#include <cstdint>
#include <deque>
#include <functional>
#include <memory>
#include <string>

// A converter behind a serial device server: open() takes tcp://HOST:PORT
// (a raw stream; the server's own line settings apply) or
// rfc2217://HOST:PORT (Telnet with COM port control; the line is set as a
// local port is: baudRate, 8 data bits, no parity, one stop bit, no flow
// control, DTR and RTS low). Reads and writes keep the serial port's
// time-out rules, counted from the moment the call starts.
class NetworkPort : public ByteTransport {
public:
    // Why the port is not open, for messages and the port doctor.
    enum class Failure { None, BadAddress, NotResolved, Refused, NoAnswer, NotRfc2217, LineRefused, Dropped, Other };

    NetworkPort();
    ~NetworkPort() override;

    bool open(const std::string& address) override;
    void close() override;
    bool isOpen() const override;
    std::int32_t read(std::uint8_t* buffer, std::int32_t count) override;
    std::int32_t write(const std::uint8_t* buffer, std::int32_t count) override;
    void purge(std::uint32_t flags) override;

    CommTimeouts timeouts;
    std::uint32_t baudRate = 9600;
    int connectTimeoutMs = 3000;
    // How long the server may take to agree to the options and confirm the
    // line settings.
    int negotiationTimeoutMs = 2000;
    // How long to wait for answers to the flow control and modem lines,
    // which servers on lines without modem lines never give.
    int controlAnswerWaitMs = 150;
    // Asked while open() waits for the server to connect and agree: once it
    // says yes (Ctrl+C), open() gives up at once (Failure::Other).
    std::function<bool()> stopCheck;

    Failure failure = Failure::None;
    std::string failureText; // for a person; empty while all is well

private:
    bool negotiate();
    // Takes what the server sent within timeoutMs into the data queue and
    // answers its negotiation; false when the connection is gone.
    bool pump(int timeoutMs);
    bool sendRaw(const std::vector<std::uint8_t>& bytes);
    bool fail(Failure why, const std::string& text);
    bool stopped() const { return stopCheck && stopCheck(); }

    TcpSocket socket;
    bool telnet = false;
    std::unique_ptr<Rfc2217Codec> codec;
    std::deque<std::uint8_t> data;
};
