#pragma once

#include "device/ByteTransport.h"

#include <cstdint>
#include <deque>
#include <string>
#include <vector>

// An in-memory port for protocol tests. Incoming bytes are queued in chunks;
// a read takes from the first chunk only, so a chunk boundary acts like a
// pause on the line. An empty chunk is a read that times out. Everything
// written and every purge is recorded.
class ScriptedTransport : public ByteTransport {
public:
    using Bytes = std::vector<std::uint8_t>;

    struct Record {
        std::vector<Bytes> writes;
        std::vector<std::uint32_t> purges;
        std::vector<std::int32_t> readRequests;
        std::string openedPath;
    };

    // The record outlives the transport, which the link owns.
    explicit ScriptedTransport(Record& record) : log(record) {}

    void queue(Bytes chunk) { incoming.push_back(std::move(chunk)); }
    void queueSilence() { incoming.emplace_back(); }

    bool open(const std::string& devicePath) override;
    void close() override { opened = false; }
    bool isOpen() const override { return opened; }
    std::int32_t read(std::uint8_t* buffer, std::int32_t count) override;
    std::int32_t write(const std::uint8_t* buffer, std::int32_t count) override;
    void purge(std::uint32_t flags) override { log.purges.push_back(flags); }

    std::size_t pendingChunks() const { return incoming.size(); }

private:
    Record& log;
    std::deque<Bytes> incoming;
    bool opened = true;
};

// A positive reply frame with its checksum: 06 n data chk.
ScriptedTransport::Bytes AckFrame(const ScriptedTransport::Bytes& data);
