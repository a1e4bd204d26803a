#include "tests/inputs/EchoConverter.h"

#include <bit>
#include <cstring>

using protocol::Parameter;

void EchoConverter::storeReal(Parameter p, float value)
{
    const auto bits = std::bit_cast<std::uint32_t>(value);
    stored[p] = {static_cast<std::uint8_t>(bits), static_cast<std::uint8_t>(bits >> 8),
                 static_cast<std::uint8_t>(bits >> 16), static_cast<std::uint8_t>(bits >> 24)};
}

std::vector<Parameter> EchoConverter::writtenParameters() const
{
    std::vector<Parameter> result;
    for (const Write& w : writes)
        result.push_back(w.parameter);
    return result;
}

std::int32_t EchoConverter::write(const std::uint8_t* buffer, std::int32_t count)
{
    if (count < 4)
        return count;
    const auto parameter = static_cast<Parameter>(buffer[1]);
    const std::uint8_t n = buffer[2];
    const std::uint8_t* data = buffer + protocol::RequestHeader;
    if (n == 0) {
        reads.push_back(parameter);
        if (auto value = stored.find(parameter); value != stored.end())
            reply(value->second.data(), value->second.size());
        else
            pending.insert(pending.end(), {protocol::Nak, protocol::NakChecksum});
        return count;
    }
    writes.push_back({parameter, Bytes(data, data + n)});
    if (parameter == Parameter::Commit)
        reply(nullptr, 0);
    else if (parameter == Parameter::Segment || parameter == Parameter::EmfRange)
        reply(data + 1, n - 1u); // the block without its index
    else
        reply(data, n);
    return count;
}

void EchoConverter::reply(const std::uint8_t* data, std::size_t size)
{
    Bytes frame = {protocol::Ack, static_cast<std::uint8_t>(size)};
    frame.insert(frame.end(), data, data + size);
    frame.push_back(protocol::Checksum(frame.data(), frame.size()));
    pending.insert(pending.end(), frame.begin(), frame.end());
}

std::int32_t EchoConverter::read(std::uint8_t* buffer, std::int32_t count)
{
    std::int32_t taken = 0;
    while (taken < count && !pending.empty()) {
        buffer[taken++] = pending.front();
        pending.pop_front();
    }
    return taken;
}

float RealOf(const EchoConverter::Bytes& data)
{
    std::uint32_t bits = 0;
    for (std::size_t i = 0; i < 4 && i < data.size(); ++i)
        bits |= static_cast<std::uint32_t>(data[i]) << (8 * i);
    return std::bit_cast<float>(bits);
}
