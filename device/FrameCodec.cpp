#include "device/FrameCodec.h"

namespace protocol {

std::size_t sealRequest(std::uint8_t* frame, std::uint8_t command, std::size_t n)
{
    frame[0] = Start;
    frame[1] = command;
    frame[2] = static_cast<std::uint8_t>(n);
    const std::size_t length = RequestHeader + n;
    frame[length] = Checksum(frame, length);
    return length + 1;
}

std::size_t sealReply(std::uint8_t* frame, std::size_t n)
{
    frame[0] = Ack;
    frame[1] = static_cast<std::uint8_t>(n);
    const std::size_t length = ReplyHeader + n;
    frame[length] = Checksum(frame, length);
    return length + 1;
}

std::vector<std::uint8_t> requestFrame(std::uint8_t command, std::span<const std::uint8_t> data)
{
    std::vector<std::uint8_t> frame(RequestHeader);
    frame.insert(frame.end(), data.begin(), data.end());
    frame.push_back(0); // the checksum's place
    sealRequest(frame.data(), command, data.size());
    return frame;
}

std::vector<std::uint8_t> positiveReply(std::span<const std::uint8_t> data)
{
    std::vector<std::uint8_t> frame(ReplyHeader);
    frame.insert(frame.end(), data.begin(), data.end());
    frame.push_back(0); // the checksum's place
    sealReply(frame.data(), data.size());
    return frame;
}

std::vector<std::uint8_t> negativeReply()
{
    return {Nak, NakChecksum};
}

} // namespace protocol
