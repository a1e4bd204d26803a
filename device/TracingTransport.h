#pragma once

#include "device/ByteTransport.h"
#include "device/TraceFormat.h"

#include <chrono>
#include <cstdint>
#include <memory>
#include <ostream>
#include <span>
#include <string_view>
#include <vector>

// A transport that passes everything to the real one and writes each frame
// to a stream, one line each, as dnx8sim traces them:
//   0.012345 request 01 3E 01 07 B9
//   0.013002 reply 06 01 07 F2
// Seconds since the transport was made. A reply's bytes are collected until
// the next request (or a purge or close), so a frame read in pieces is one
// line; a read that timed out adds "(time-out)".
class TracingTransport : public ByteTransport {
public:
    TracingTransport(std::unique_ptr<ByteTransport> port, std::ostream& out);
    ~TracingTransport() override;

    bool open(const std::string& devicePath) override;
    void close() override;
    bool isOpen() const override { return port->isOpen(); }
    std::int32_t read(std::uint8_t* buffer, std::int32_t count) override;
    std::int32_t write(const std::uint8_t* buffer, std::int32_t count) override;
    void purge(std::uint32_t flags) override;

private:
    using Clock = std::chrono::steady_clock;

    void line(Clock::time_point at, protocol::TraceKind kind, std::span<const std::uint8_t> bytes,
              std::string_view note);
    void flushReply();

    std::unique_ptr<ByteTransport> port;
    std::ostream& out;
    Clock::time_point start = Clock::now();
    std::vector<std::uint8_t> reply;
    Clock::time_point replyStart;
    bool timedOut = false;
};
