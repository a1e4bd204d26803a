#include "simulator/SimulatedConverter.h"

#include "device/FrameCodec.h"

namespace sim {

using Event = protocol::FrameReceiver::Event;

std::vector<Exchange> SimulatedConverter::receive(std::span<const std::uint8_t> bytes, double seconds)
{
    std::vector<Exchange> done;
    for (std::uint8_t byte : bytes) {
        const Event event = receiver_.push(byte);
        if (event == Event::Noise)
            noise_.push_back(byte);
        if (event == Event::None || event == Event::Noise)
            continue;
        Exchange exchange;
        exchange.noise.swap(noise_);
        exchange.request.assign(receiver_.frame().begin(), receiver_.frame().end());
        const std::uint8_t command = exchange.request[1];
        std::vector<std::uint8_t> reply;
        if (event == Event::Frame) {
            reply = model.answer(command, receiver_.data(), seconds);
        } else {
            reply = protocol::negativeReply();
        }
        exchange.reply = faults.shape(command, std::move(reply));
        done.push_back(std::move(exchange));
    }
    return done;
}

std::vector<std::uint8_t> SimulatedConverter::quiet()
{
    // A frame cut short is noise too.
    const auto partial = receiver_.partial();
    noise_.insert(noise_.end(), partial.begin(), partial.end());
    receiver_.reset();
    std::vector<std::uint8_t> out;
    out.swap(noise_);
    return out;
}

} // namespace sim
