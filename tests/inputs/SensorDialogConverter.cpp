#include "tests/inputs/SensorDialogConverter.h"

#include "device/Protocol.h"

#include <iomanip>

void PrintTo(const ConverterRequest& request, std::ostream* out)
{
    *out << "cmd " << std::hex << std::setfill('0') << std::setw(2) << int{request.command} << " [";
    for (std::uint8_t byte : request.data)
        *out << ' ' << std::setw(2) << int{byte};
    *out << " ]" << std::dec;
}

std::int32_t SensorDialogConverter::write(const std::uint8_t* buffer, std::int32_t count)
{
    if (count < 4)
        return count;
    const std::uint8_t command = buffer[1];
    const std::uint8_t n = buffer[2];
    requests.push_back({command, std::vector<std::uint8_t>(buffer + 3, buffer + 3 + n)});
    cursors.push_back(GetCursor());

    if (n == 0) {
        if (command == protocol::Code(protocol::Parameter::InputType) && inputType)
            reply({*inputType});
        else
            pending.insert(pending.end(), {protocol::Nak, protocol::NakChecksum});
        return count;
    }
    if (!answerWrites)
        return count;
    std::vector<std::uint8_t> echo(buffer + 3, buffer + 3 + n);
    // Commit answers without data, an indexed block without its index.
    if (command == protocol::Code(protocol::Parameter::Commit))
        echo.clear();
    else if (command == protocol::Code(protocol::Parameter::EmfRange))
        echo.erase(echo.begin());
    reply(echo);
    return count;
}

void SensorDialogConverter::reply(const std::vector<std::uint8_t>& data)
{
    std::vector<std::uint8_t> frame = {protocol::Ack, static_cast<std::uint8_t>(data.size())};
    frame.insert(frame.end(), data.begin(), data.end());
    frame.push_back(protocol::Checksum(frame.data(), frame.size()));
    pending.insert(pending.end(), frame.begin(), frame.end());
}

std::int32_t SensorDialogConverter::read(std::uint8_t* buffer, std::int32_t count)
{
    std::int32_t taken = 0;
    while (taken < count && !pending.empty()) {
        buffer[taken++] = pending.front();
        pending.pop_front();
    }
    return taken;
}
