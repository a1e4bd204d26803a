#pragma once

#include "device/ByteTransport.h"

#include <cstdint>
#include <deque>
#include <vector>

// A converter that is not there: every request is kept and answered as the
// converter answers a write (its data echoed; EmfRange and Segment without
// the index; Commit with no data), so a write sequence runs to its end and
// nothing reaches any line. A read gets an empty reply and fails.
class DryRunTransport : public ByteTransport {
public:
    bool open(const std::string&) override { return true; }
    void close() override {}
    bool isOpen() const override { return true; }
    std::int32_t read(std::uint8_t* buffer, std::int32_t count) override;
    std::int32_t write(const std::uint8_t* buffer, std::int32_t count) override;
    void purge(std::uint32_t) override { pending.clear(); }

    // The request frames in the order sent.
    std::vector<std::vector<std::uint8_t>> requests;

private:
    std::deque<std::uint8_t> pending;
};
