#include "device/FrameReceiver.h"

#include <algorithm>

namespace protocol {

bool FrameReceiver::opens(std::uint8_t byte) const
{
    return direction == Direction::Request ? byte == Start : byte == Ack || byte == Nak;
}

// Bytes up to and including the length byte (a negative reply has none;
// its whole frame is two bytes).
std::size_t FrameReceiver::header() const
{
    return direction == Direction::Request ? RequestHeader : ReplyHeader;
}

FrameReceiver::Event FrameReceiver::push(std::uint8_t byte)
{
    if (received == 0) {
        if (!opens(byte))
            return Event::Noise;
        expected = direction == Direction::Reply && byte == Nak ? 2 : 0;
    }
    buffer[received++] = byte;
    if (expected == 0) {
        if (received < header())
            return Event::None;
        const std::size_t n = byte;
        const std::size_t maxData = direction == Direction::Request ? MaxRequestData : MaxReplyData;
        if (n > maxData)
            return finish(Event::Oversized);
        expected = header() + n + 1;
    }
    if (received < expected)
        return Event::None;
    return finish(SumsToZero(buffer.data(), received) ? Event::Frame : Event::BadChecksum);
}

FrameReceiver::Event FrameReceiver::finish(Event event)
{
    done = received;
    received = 0;
    return event;
}

std::span<const std::uint8_t> FrameReceiver::data() const
{
    if (done < header() || (direction == Direction::Reply && buffer[0] == Nak))
        return {};
    const std::size_t n = buffer[header() - 1];
    return frame().subspan(header(), std::min(n, done - header()));
}

std::size_t FrameReceiver::outstanding() const
{
    if (received == 0)
        return 1;
    if (expected == 0)
        return header() - received;
    return expected - received;
}

} // namespace protocol
