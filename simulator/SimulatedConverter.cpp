#include "simulator/SimulatedConverter.h"

#include "device/Protocol.h"
#include "simulator/ReplyFrame.h"

namespace sim {

std::vector<Exchange> SimulatedConverter::receive(std::span<const std::uint8_t> bytes, double seconds)
{
    std::vector<Exchange> done;
    for (std::uint8_t byte : bytes) {
        const RequestReceiver::Event event = receiver_.push(byte);
        if (event == RequestReceiver::Event::None)
            continue;
        Exchange exchange;
        exchange.noise = receiver_.takeNoise();
        exchange.request = receiver_.frame();
        const std::uint8_t command = exchange.request[1];
        std::vector<std::uint8_t> reply;
        if (event == RequestReceiver::Event::Frame) {
            std::span<const std::uint8_t> data(exchange.request);
            reply =
                model.answer(command, data.subspan(protocol::RequestHeader, exchange.request[2]), seconds);
        } else {
            reply = NegativeReply();
        }
        exchange.reply = faults.shape(command, std::move(reply));
        done.push_back(std::move(exchange));
    }
    return done;
}

std::vector<std::uint8_t> SimulatedConverter::quiet()
{
    receiver_.abandon();
    return receiver_.takeNoise();
}

} // namespace sim
