#include "device/DryRunTransport.h"

#include "device/Protocol.h"

using protocol::Parameter;

std::int32_t DryRunTransport::write(const std::uint8_t* buffer, std::int32_t count)
{
    if (count <= 0)
        return 0;
    // ConverterLink writes one whole request per call.
    std::vector<std::uint8_t> request(buffer, buffer + count);
    if (request.size() >= protocol::RequestHeader + 1) {
        const std::uint8_t command = request[1];
        auto data = request.begin() + protocol::RequestHeader;
        auto end = request.end() - 1; // before the checksum
        if (command == protocol::Code(Parameter::Commit))
            data = end;
        else if ((command == protocol::Code(Parameter::EmfRange) ||
                  command == protocol::Code(Parameter::Segment)) &&
                 data != end)
            ++data;
        std::vector<std::uint8_t> reply{protocol::Ack, static_cast<std::uint8_t>(end - data)};
        reply.insert(reply.end(), data, end);
        reply.push_back(protocol::Checksum(reply.data(), reply.size()));
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
