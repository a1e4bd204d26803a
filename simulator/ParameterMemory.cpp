#include "simulator/ParameterMemory.h"

#include "device/ParameterTable.h"

#include <algorithm>
#include <bit>

namespace sim {

std::uint32_t GetU32(const std::uint8_t* at)
{
    return static_cast<std::uint32_t>(at[0]) | static_cast<std::uint32_t>(at[1]) << 8 |
           static_cast<std::uint32_t>(at[2]) << 16 | static_cast<std::uint32_t>(at[3]) << 24;
}

void PutU32(std::uint8_t* at, std::uint32_t v)
{
    for (int i = 0; i < 4; ++i)
        at[i] = static_cast<std::uint8_t>(v >> (8 * i));
}

float GetReal(const std::uint8_t* at)
{
    return std::bit_cast<float>(GetU32(at));
}

void PutReal(std::uint8_t* at, float v)
{
    PutU32(at, std::bit_cast<std::uint32_t>(v));
}

ParameterMemory::ParameterMemory()
{
    for (const protocol::ParameterInfo& info : protocol::parameters())
        if (info.access != protocol::Access::Live && info.access != protocol::Access::Command)
            bytes_[info.code()].assign(info.size * info.slots, 0);
}

std::span<std::uint8_t> ParameterMemory::value(protocol::Parameter id, std::size_t index)
{
    std::vector<std::uint8_t>& all = bytes_[protocol::Code(id)];
    if (all.empty())
        return {};
    const std::size_t size = protocol::infoOf(id).size;
    if ((index + 1) * size > all.size())
        return {};
    return std::span(all).subspan(index * size, size);
}

std::span<const std::uint8_t> ParameterMemory::value(protocol::Parameter id, std::size_t index) const
{
    return const_cast<ParameterMemory*>(this)->value(id, index);
}

std::uint8_t ParameterMemory::byte(protocol::Parameter id) const
{
    auto v = value(id);
    return v.empty() ? 0 : v[0];
}

void ParameterMemory::setByte(protocol::Parameter id, std::uint8_t v)
{
    auto at = value(id);
    if (!at.empty())
        at[0] = v;
}

std::uint16_t ParameterMemory::word(protocol::Parameter id) const
{
    auto v = value(id);
    return v.size() < 2 ? 0 : static_cast<std::uint16_t>(v[0] | v[1] << 8);
}

void ParameterMemory::setWord(protocol::Parameter id, std::uint16_t v)
{
    auto at = value(id);
    if (at.size() >= 2) {
        at[0] = static_cast<std::uint8_t>(v);
        at[1] = static_cast<std::uint8_t>(v >> 8);
    }
}

std::int32_t ParameterMemory::integer(protocol::Parameter id) const
{
    auto v = value(id);
    return v.size() < 4 ? 0 : static_cast<std::int32_t>(GetU32(v.data()));
}

void ParameterMemory::setInteger(protocol::Parameter id, std::int32_t v)
{
    auto at = value(id);
    if (at.size() >= 4)
        PutU32(at.data(), static_cast<std::uint32_t>(v));
}

float ParameterMemory::real(protocol::Parameter id, std::size_t offset, std::size_t index) const
{
    auto v = value(id, index);
    return v.size() < offset + 4 ? 0.0f : GetReal(v.data() + offset);
}

void ParameterMemory::setReal(protocol::Parameter id, float v, std::size_t offset, std::size_t index)
{
    auto at = value(id, index);
    if (at.size() >= offset + 4)
        PutReal(at.data() + offset, v);
}

void ParameterMemory::setText(protocol::Parameter id, std::string_view text)
{
    auto at = value(id);
    std::fill(at.begin(), at.end(), 0);
    std::copy_n(text.begin(), std::min(text.size(), at.size()), at.begin());
}

} // namespace sim
