#pragma once

#include <cstdint>
#include <vector>

namespace sim {

// Assembles request frames (01 cmd n data chk) from the bytes of the line.
// Bytes before a start byte are noise; a request too long for the
// converter's 64-byte buffer is refused as soon as its length byte shows.
class RequestReceiver {
public:
    enum class Event : std::uint8_t {
        None,        // more bytes needed
        Frame,       // frame() holds a request whose checksum is right
        BadChecksum, // frame() holds a complete request with a wrong sum
        Oversized,   // frame() holds the header of a request that cannot fit
    };

    Event push(std::uint8_t byte);

    // The frame of the last event.
    const std::vector<std::uint8_t>& frame() const { return frame_; }
    // Bytes skipped so far and not yet taken.
    std::vector<std::uint8_t> takeNoise();

    bool inFrame() const { return !partial_.empty(); }
    // The line went quiet in the middle of a frame: what came so far is noise.
    void abandon();

private:
    std::vector<std::uint8_t> partial_;
    std::vector<std::uint8_t> frame_;
    std::vector<std::uint8_t> noise_;
};

} // namespace sim
