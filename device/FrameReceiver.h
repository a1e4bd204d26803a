#pragma once

#include "device/Protocol.h"

#include <array>
#include <cstddef>
#include <cstdint>
#include <span>

namespace protocol {

// Assembles frames from the bytes of the line, one byte at a time: requests
// (01 cmd n data chk) on the converter's side, replies (06 n data chk or
// 15 EB) on the tool's. Bytes that cannot open a frame are noise. A frame
// whose length byte says it cannot fit the 64-byte buffer is refused as
// soon as that byte shows. Pure: how long to wait and what to do with a
// broken frame is the caller's business.
class FrameReceiver {
public:
    enum class Direction : std::uint8_t { Request, Reply };

    enum class Event : std::uint8_t {
        None,        // the byte belongs to a frame that is not complete yet
        Noise,       // the byte opens no frame and was skipped
        Frame,       // frame() holds a whole frame whose checksum is right
        BadChecksum, // frame() holds a whole frame with a wrong sum
        Oversized,   // frame() holds the header of a frame that cannot fit
    };

    explicit FrameReceiver(Direction direction) : direction(direction) {}

    Event push(std::uint8_t byte);

    // The frame of the last event other than None and Noise, valid until
    // the next byte opens a frame.
    std::span<const std::uint8_t> frame() const { return {buffer.data(), done}; }
    // The data of that frame (empty for 15 EB).
    std::span<const std::uint8_t> data() const;
    // True for a reply 06 n ...; false for 15 EB and for requests.
    bool positive() const { return direction == Direction::Reply && done > 0 && buffer[0] == Ack; }

    bool inFrame() const { return received > 0; }
    // Bytes of the frame that has begun; the line went quiet in its middle.
    std::span<const std::uint8_t> partial() const { return {buffer.data(), received}; }
    // Bytes the frame under way still needs, as far as known: 1 while
    // waiting for a frame to open or for a byte of its header.
    std::size_t outstanding() const;
    // Drops a frame under way.
    void reset() { received = 0; }

private:
    bool opens(std::uint8_t byte) const;
    std::size_t header() const;
    Event finish(Event event);

    Direction direction;
    std::array<std::uint8_t, FrameSize> buffer{};
    std::size_t received = 0; // bytes of the frame under way
    std::size_t expected = 0; // its whole length, once known
    std::size_t done = 0;     // length of the last finished frame
};

} // namespace protocol
