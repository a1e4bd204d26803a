#include "tests/device/MemoryConverter.h"

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
    const auto size = static_cast<std::size_t>(count);
    if (size < protocol::RequestHeader + 1 || buffer[0] != protocol::Start ||
        size != protocol::RequestHeader + buffer[2] + 1u || !protocol::SumsToZero(buffer, size)) {
        refuseRequest();
        return count;
    }
    const std::uint8_t* data = buffer + protocol::RequestHeader;
    const Request request{buffer[1], Bytes(data, data + buffer[2])};
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
    } else if (request.parameter() == Parameter::Commit) {
        acknowledge({});
    } else if (request.parameter() == Parameter::Segment || request.parameter() == Parameter::EmfRange) {
        acknowledge(Bytes(request.data.begin() + 1, request.data.end()));
    } else {
        acknowledge(request.data);
    }
}

void MemoryConverter::acknowledge(const Bytes& data)
{
    Bytes frame = {protocol::Ack, static_cast<std::uint8_t>(data.size())};
    frame.insert(frame.end(), data.begin(), data.end());
    frame.push_back(protocol::Checksum(frame.data(), frame.size()));
    pending.insert(pending.end(), frame.begin(), frame.end());
}

void MemoryConverter::refuseRequest()
{
    pending.insert(pending.end(), {protocol::Nak, protocol::NakChecksum});
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
