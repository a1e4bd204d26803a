#pragma once

#include "device/FrameReceiver.h"
#include "simulator/ConverterModel.h"
#include "simulator/FaultSet.h"

#include <cstdint>
#include <span>
#include <vector>

namespace sim {

// One request and what the converter puts on the line for it.
struct Exchange {
    std::vector<std::uint8_t> noise; // bytes skipped before the request
    std::vector<std::uint8_t> request;
    ShapedReply reply;
};

// The whole simulated converter as seen from the line: request framing,
// the model, and the faults that bend its replies. A request with a wrong
// checksum, or too long to hold, is answered 15 EB like an unknown one.
class SimulatedConverter {
public:
    ConverterModel model;
    FaultSet faults;

    // Feeds bytes from the line; returns the requests they completed.
    std::vector<Exchange> receive(std::span<const std::uint8_t> bytes, double seconds);

    bool inFrame() const { return receiver_.inFrame(); }
    // The line went quiet: drops a partial frame; returns the bytes skipped
    // since the last request.
    std::vector<std::uint8_t> quiet();

private:
    protocol::FrameReceiver receiver_{protocol::FrameReceiver::Direction::Request};
    std::vector<std::uint8_t> noise_; // skipped since the last request
};

} // namespace sim
