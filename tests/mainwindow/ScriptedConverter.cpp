#include "tests/mainwindow/ScriptedConverter.h"

#include "device/Protocol.h"

std::int32_t ScriptedConverter::write(const std::uint8_t* buffer, std::int32_t count)
{
    if (!opened || count < 4)
        return 0;
    const std::uint8_t command = buffer[1];
    const std::uint8_t n = buffer[2];
    commands.push_back(command);
    if (n != 0) {
        auto echo = echoes.find(command);
        reply(echo != echoes.end() ? echo->second : std::vector<std::uint8_t>(buffer + 3, buffer + 3 + n));
    } else if (auto data = reads.find(command); data != reads.end()) {
        reply(data->second);
    } else {
        pending.insert(pending.end(), {protocol::Nak, protocol::NakChecksum});
    }
    return count;
}

void ScriptedConverter::reply(const std::vector<std::uint8_t>& data)
{
    std::vector<std::uint8_t> frame = {protocol::Ack, static_cast<std::uint8_t>(data.size())};
    frame.insert(frame.end(), data.begin(), data.end());
    frame.push_back(protocol::Checksum(frame.data(), frame.size()));
    pending.insert(pending.end(), frame.begin(), frame.end());
}

std::int32_t ScriptedConverter::read(std::uint8_t* buffer, std::int32_t count)
{
    std::int32_t taken = 0;
    while (taken < count && !pending.empty()) {
        buffer[taken++] = pending.front();
        pending.pop_front();
    }
    return taken;
}
