#pragma once

#include "device/ByteTransport.h"
#include "device/Protocol.h"

#include <cstdint>
#include <deque>
#include <functional>
#include <map>
#include <optional>
#include <ostream>
#include <vector>

// A converter in memory behind a byte pipe. Each write is taken as one
// request frame; a frame with a wrong length or checksum gets 15 EB. A read
// answers from `stored` (15 EB for a parameter that is not there), a write
// answers as the converter does: its data back, Commit without data, an
// indexed block without its index. Writes do not change `stored`. Every
// request is kept in order. A closed port transfers nothing.
class MemoryConverter : public ByteTransport {
public:
    using Bytes = std::vector<std::uint8_t>;

    // One request as the converter received it; no data means a read.
    struct Request {
        std::uint8_t command = 0;
        Bytes data;

        protocol::Parameter parameter() const { return static_cast<protocol::Parameter>(command); }
        bool isRead() const { return data.empty(); }
        bool operator==(const Request&) const = default;
    };

    std::map<protocol::Parameter, Bytes> stored;
    std::vector<Request> requests;
    // Answer every request with 15 EB.
    bool refuse = false;
    // Leave writes unanswered, so that they time out.
    bool silentOnWrites = false;
    // Called for each request once it is recorded; data it returns is sent
    // back in place of the usual answer.
    std::function<std::optional<Bytes>(const Request&)> onRequest;

    void storeByte(protocol::Parameter p, std::uint8_t value) { stored[p] = {value}; }
    void storeReal(protocol::Parameter p, float value);

    // The requests that carried data, in order.
    std::vector<Request> writes() const;

    bool open(const std::string&) override { return opened = true; }
    void close() override { opened = false; }
    bool isOpen() const override { return opened; }
    std::int32_t read(std::uint8_t* buffer, std::int32_t count) override;
    std::int32_t write(const std::uint8_t* buffer, std::int32_t count) override;
    void purge(std::uint32_t) override { pending.clear(); }

private:
    void answer(const Request& request);
    void acknowledge(const Bytes& data);
    void refuseRequest();

    bool opened = true;
    std::deque<std::uint8_t> pending;
};

void PrintTo(const MemoryConverter::Request& request, std::ostream* out);

// The float in the first four bytes, little-endian.
float RealOf(const MemoryConverter::Bytes& data);
