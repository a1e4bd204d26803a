#include "simulator/ConverterModel.h"

#include "device/FrameCodec.h"
#include "device/ParameterTable.h"
#include "simulator/Clipping.h"

#include <algorithm>

namespace sim {

std::vector<std::uint8_t> ConverterModel::answer(std::uint8_t command, std::span<const std::uint8_t> data,
                                                 double seconds)
{
    const protocol::ParameterInfo* info = protocol::findParameter(command);
    if (!info)
        return protocol::negativeReply();

    switch (info->access) {
    case protocol::Access::ReadOnly:
        if (data.empty())
            return protocol::positiveReply(memory.value(info->id));
        break;
    case protocol::Access::Live:
        if (data.empty())
            return protocol::positiveReply(live.read(info->id, memory, seconds));
        break;
    case protocol::Access::Command:
        if (data.size() == 1) {
            ++memory.commits;
            return protocol::positiveReply({});
        }
        break;
    case protocol::Access::ReadWrite: {
        auto stored = memory.value(info->id);
        if (data.empty())
            return protocol::positiveReply(stored);
        if (data.size() == info->size) {
            std::vector<std::uint8_t> incoming(data.begin(), data.end());
            ClipWrite(*info, incoming, stored);
            std::copy(incoming.begin(), incoming.end(), stored.begin());
            return protocol::positiveReply(stored);
        }
        break;
    }
    case protocol::Access::Indexed:
        if (data.size() == info->size + 1 && data[0] < info->slots) {
            auto stored = memory.value(info->id, data[0]);
            std::vector<std::uint8_t> incoming(data.begin() + 1, data.end());
            ClipWrite(*info, incoming, stored);
            std::copy(incoming.begin(), incoming.end(), stored.begin());
            return protocol::positiveReply(stored);
        }
        break;
    }
    return protocol::negativeReply();
}

} // namespace sim
