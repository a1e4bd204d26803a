#include "tests/device/MemoryConverter.h"

#include "device/FrameCodec.h"
#include "device/FrameReceiver.h"
#include "device/ParameterTable.h"

#include <bit>
#include <iomanip>

using protocol::Parameter;

void MemoryConverter::storeReal(Parameter p, float value)
{
    const auto bits = std::bit_cast<std::uint32_t>(value);
    stored[p] = {static_cast<std::uint8_t>(bits), static_cast<std::uint8_t>(bits >> 8),
                 static_cast<std::uint8_t>(bits >> 16), static_cast<std::uint8_t>(bits >> 24)};
}

std::vector<MemoryConverter::Request> MemoryConverter::writes() const
{
    std::vector<Request> result;
    for (const Request& r : requests)
        if (!r.isRead())
            result.push_back(r);
    return result;
}

std::int32_t MemoryConverter::write(const std::uint8_t* buffer, std::int32_t count)
{
    if (!opened)
        return 0;
    // The write must be exactly one request frame, from its first byte to its last.
    using Event = protocol::FrameReceiver::Event;
    protocol::FrameReceiver receiver(protocol::FrameReceiver::Direction::Request);
    Event event = Event::None;
    for (std::int32_t i = 0; i < count && event == Event::None; ++i)
        event = receiver.push(buffer[i]);
    if (event != Event::Frame || receiver.frame().size() != static_cast<std::size_t>(count)) {
        refuseRequest();
        return count;
    }
    const auto data = receiver.data();
    const Request request{buffer[1], Bytes(data.begin(), data.end())};
    requests.push_back(request);
    answer(request);
    return count;
}

void MemoryConverter::answer(const Request& request)
{
    if (onRequest) {
        if (auto data = onRequest(request)) {
            acknowledge(*data);
            return;
        }
    }
    if (refuse) {
        refuseRequest();
    } else if (request.isRead()) {
        if (auto value = stored.find(request.parameter()); value != stored.end())
            acknowledge(value->second);
        else
            refuseRequest();
    } else if (silentOnWrites) {
        return;
    } else {
        const auto echo = protocol::writeEcho(request.command, request.data);
        acknowledge(Bytes(echo.begin(), echo.end()));
    }
}

void MemoryConverter::acknowledge(const Bytes& data)
{
    const Bytes frame = protocol::positiveReply(data);
    pending.insert(pending.end(), frame.begin(), frame.end());
}

void MemoryConverter::refuseRequest()
{
    const Bytes frame = protocol::negativeReply();
    pending.insert(pending.end(), frame.begin(), frame.end());
}

std::int32_t MemoryConverter::read(std::uint8_t* buffer, std::int32_t count)
{
    std::int32_t taken = 0;
    while (taken < count && !pending.empty()) {
        buffer[taken++] = pending.front();
        pending.pop_front();
    }
    return taken;
}

void PrintTo(const MemoryConverter::Request& request, std::ostream* out)
{
    *out << "cmd " << std::hex << std::setfill('0') << std::setw(2) << int{request.command} << " [";
    for (std::uint8_t byte : request.data)
        *out << ' ' << std::setw(2) << int{byte};
    *out << " ]" << std::dec;
}

float RealOf(const MemoryConverter::Bytes& data)
{
    std::uint32_t bits = 0;
    for (std::size_t i = 0; i < 4 && i < data.size(); ++i)
        bits |= static_cast<std::uint32_t>(data[i]) << (8 * i);
    return std::bit_cast<float>(bits);
}
