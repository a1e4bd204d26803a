#include "tests/device/ScriptedTransport.h"

#include "device/Protocol.h"

#include <algorithm>

bool ScriptedTransport::open(const std::string& devicePath)
{
    log.openedPath = devicePath;
    opened = true;
    return true;
}

std::int32_t ScriptedTransport::read(std::uint8_t* buffer, std::int32_t count)
{
    log.readRequests.push_back(count);
    if (incoming.empty() || count <= 0)
        return 0;
    Bytes& chunk = incoming.front();
    const auto n = std::min<std::size_t>(chunk.size(), static_cast<std::size_t>(count));
    std::copy_n(chunk.begin(), n, buffer);
    chunk.erase(chunk.begin(), chunk.begin() + static_cast<std::ptrdiff_t>(n));
    // An empty chunk stood for one silent read; a drained one is done.
    if (chunk.empty())
        incoming.pop_front();
    return static_cast<std::int32_t>(n);
}

std::int32_t ScriptedTransport::write(const std::uint8_t* buffer, std::int32_t count)
{
    log.writes.emplace_back(buffer, buffer + count);
    return count;
}

ScriptedTransport::Bytes AckFrame(const ScriptedTransport::Bytes& data)
{
    ScriptedTransport::Bytes frame;
    frame.reserve(data.size() + 3);
    frame.push_back(protocol::Ack);
    frame.push_back(static_cast<std::uint8_t>(data.size()));
    for (std::uint8_t b : data)
        frame.push_back(b);
    frame.push_back(protocol::Checksum(frame.data(), frame.size()));
    return frame;
}
