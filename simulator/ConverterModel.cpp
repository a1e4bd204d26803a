#include "simulator/ConverterModel.h"

#include "simulator/Clipping.h"
#include "simulator/ParameterTable.h"
#include "simulator/ReplyFrame.h"

#include <algorithm>

namespace sim {

std::vector<std::uint8_t> ConverterModel::answer(std::uint8_t command, std::span<const std::uint8_t> data,
                                                 double seconds)
{
    const ParameterInfo* info = FindParameter(command);
    if (!info)
        return NegativeReply();

    switch (info->access) {
    case Access::ReadOnly:
        if (data.empty())
            return PositiveReply(memory.value(info->id));
        break;
    case Access::Live:
        if (data.empty())
            return PositiveReply(live.read(info->id, memory, seconds));
        break;
    case Access::Command:
        if (data.size() == 1) {
            ++memory.commits;
            return PositiveReply({});
        }
        break;
    case Access::ReadWrite: {
        auto stored = memory.value(info->id);
        if (data.empty())
            return PositiveReply(stored);
        if (data.size() == info->size) {
            std::vector<std::uint8_t> incoming(data.begin(), data.end());
            ClipWrite(*info, incoming, stored);
            std::copy(incoming.begin(), incoming.end(), stored.begin());
            return PositiveReply(stored);
        }
        break;
    }
    case Access::Indexed:
        if (data.size() == info->size + 1 && data[0] < info->slots) {
            auto stored = memory.value(info->id, data[0]);
            std::vector<std::uint8_t> incoming(data.begin() + 1, data.end());
            ClipWrite(*info, incoming, stored);
            std::copy(incoming.begin(), incoming.end(), stored.begin());
            return PositiveReply(stored);
        }
        break;
    }
    return NegativeReply();
}

} // namespace sim
