#include "simulator/ReplyFrame.h"

#include "device/Protocol.h"

namespace sim {

std::vector<std::uint8_t> PositiveReply(std::span<const std::uint8_t> data)
{
    std::vector<std::uint8_t> frame;
    frame.reserve(data.size() + protocol::ReplyHeader + 1);
    frame.push_back(protocol::Ack);
    frame.push_back(static_cast<std::uint8_t>(data.size()));
    frame.insert(frame.end(), data.begin(), data.end());
    frame.push_back(protocol::Checksum(frame.data(), frame.size()));
    return frame;
}

std::vector<std::uint8_t> NegativeReply()
{
    return {protocol::Nak, protocol::NakChecksum};
}

} // namespace sim
