#include "device/DryRunTransport.h"

#include "device/FrameCodec.h"
#include "device/ParameterTable.h"

std::int32_t DryRunTransport::write(const std::uint8_t* buffer, std::int32_t count)
{
    if (count <= 0)
        return 0;
    // ConverterLink writes one whole request per call.
    std::vector<std::uint8_t> request(buffer, buffer + count);
    if (request.size() >= protocol::RequestHeader + 1) {
        const std::span<const std::uint8_t> data(request.begin() + protocol::RequestHeader,
                                                 request.end() - 1); // before the checksum
        const auto reply = protocol::positiveReply(protocol::writeEcho(request[1], data));
        pending.insert(pending.end(), reply.begin(), reply.end());
    }
    requests.push_back(std::move(request));
    return count;
}

std::int32_t DryRunTransport::read(std::uint8_t* buffer, std::int32_t count)
{
    std::int32_t got = 0;
    while (got < count && !pending.empty()) {
        buffer[got++] = pending.front();
        pending.pop_front();
    }
    return got;
}
