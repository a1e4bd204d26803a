#include "simulator/ParameterText.h"

#include "device/ParameterValueText.h"
#include "simulator/ParameterMemory.h"
#include "simulator/ValueText.h"

#include <algorithm>
#include <cstdio>
#include <limits>

namespace sim {
namespace {

bool ParseText(std::string_view word, std::span<std::uint8_t> out)
{
    std::fill(out.begin(), out.end(), 0);
    if (word.starts_with("0x") && word.size() == 2 + 2 * out.size()) {
        for (std::size_t i = 0; i < out.size(); ++i) {
            auto byte = ParseInteger("0x" + std::string(word.substr(2 + 2 * i, 2)));
            if (!byte)
                return false;
            out[i] = static_cast<std::uint8_t>(*byte);
        }
        return true;
    }
    if (word.size() > out.size())
        return false;
    std::copy(word.begin(), word.end(), out.begin());
    return true;
}

bool ParseField(protocol::Field field, std::string_view word, std::uint8_t* at)
{
    if (field == protocol::Field::Text8)
        return ParseText(word, std::span(at, 8));
    if (field == protocol::Field::Real) {
        auto v = ParseReal(word);
        if (v)
            PutReal(at, *v);
        return v.has_value();
    }
    auto v = ParseInteger(word);
    if (!v)
        return false;
    const std::size_t size = protocol::fieldSize(field);
    const std::int64_t low = field == protocol::Field::I32 ? std::numeric_limits<std::int32_t>::min() : 0;
    const std::int64_t high = field == protocol::Field::I32 ? std::numeric_limits<std::uint32_t>::max()
                                                            : (std::int64_t{1} << (8 * size)) - 1;
    if (*v < low || *v > high)
        return false;
    for (std::size_t i = 0; i < size; ++i)
        at[i] = static_cast<std::uint8_t>(static_cast<std::uint64_t>(*v) >> (8 * i));
    return true;
}

} // namespace

std::string FormatValue(const protocol::ParameterInfo& info, std::span<const std::uint8_t> bytes)
{
    return protocol::valueText(info, bytes);
}

std::string ParseValue(const protocol::ParameterInfo& info, std::span<const std::string_view> words,
                       std::span<std::uint8_t> out)
{
    if (words.size() != info.fields.size())
        return std::string(info.name) + " takes " + std::to_string(info.fields.size()) + " value(s)";
    std::size_t offset = 0;
    for (std::size_t i = 0; i < words.size(); ++i) {
        const protocol::Field field = info.fields[i];
        if (offset + protocol::fieldSize(field) > out.size() ||
            !ParseField(field, words[i], out.data() + offset))
            return "bad value '" + std::string(words[i]) + "' for " + std::string(info.name);
        offset += protocol::fieldSize(field);
    }
    return {};
}

} // namespace sim
