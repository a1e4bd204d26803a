// Fuzz target for the frame receiver: whatever the converter side sends,
// every transaction of the link ends (success or failure) without reading or
// writing outside the frame buffer. The first input byte splits the rest into
// chunks, each of which one read of the port returns, as pauses on a line.
// The same bytes then go to the receiver the simulated converter uses.
#include "device/ConverterLink.h"
#include "device/FrameReceiver.h"
#include "device/RelaySettings.h"

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <memory>
#include <vector>

namespace {

class FuzzTransport : public ByteTransport {
public:
    FuzzTransport(const std::uint8_t* data, std::size_t size, std::size_t chunk)
        : bytes(data, data + size), chunkSize(chunk)
    {
    }

    bool open(const std::string&) override { return opened = true; }
    void close() override { opened = false; }
    bool isOpen() const override { return opened; }
    std::int32_t read(std::uint8_t* buffer, std::int32_t count) override
    {
        const std::size_t n =
            std::min<std::size_t>({static_cast<std::size_t>(count), chunkSize, bytes.size() - at});
        for (std::size_t i = 0; i < n; ++i)
            buffer[i] = bytes[at + i];
        at += n;
        return static_cast<std::int32_t>(n);
    }
    std::int32_t write(const std::uint8_t*, std::int32_t count) override { return count; }
    void purge(std::uint32_t) override {}

private:
    std::vector<std::uint8_t> bytes;
    std::size_t chunkSize;
    std::size_t at = 0;
    bool opened = false;
};

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    if (size == 0)
        return 0;
    const std::size_t chunk = 1 + data[0] % 70;
    ConverterLink link(std::make_unique<FuzzTransport>(data + 1, size - 1, chunk));
    link.open("fuzz");
    // A mix of transactions with different expected lengths, until the
    // input runs dry.
    for (int round = 0; round < 8; ++round) {
        (void)link.identify();
        float real = 0;
        (void)link.readLiveInput(real);
        std::uint8_t code = 3;
        (void)link.writeErrorSignalling(code);
        RelaySettings relay{};
        (void)link.writeRelay1(relay);
        CurveCoefficients coefficients{};
        (void)link.readCurveCoefficients(coefficients);
        (void)link.writeSegment(0, SegmentRecord{});
        (void)link.commit();
    }

    protocol::FrameReceiver requests(protocol::FrameReceiver::Direction::Request);
    for (std::size_t i = 1; i < size; ++i) {
        const auto event = requests.push(data[i]);
        // A whole frame is header, data and checksum, and never more than the buffer.
        if (event == protocol::FrameReceiver::Event::Frame &&
            (requests.frame().size() > protocol::FrameSize ||
             requests.data().size() + protocol::RequestHeader + 1 != requests.frame().size()))
            std::abort();
    }
    return 0;
}
