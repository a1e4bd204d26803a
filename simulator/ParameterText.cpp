#include "simulator/ParameterText.h"

#include "device/TraceFormat.h"
#include "simulator/ParameterMemory.h"
#include "simulator/ValueText.h"

#include <algorithm>
#include <cstdio>
#include <limits>

namespace sim {
namespace {

bool IsPlainText(std::span<const std::uint8_t> bytes)
{
    auto end = std::find(bytes.begin(), bytes.end(), 0);
    if (end == bytes.begin())
        return false;
    if (!std::all_of(bytes.begin(), end, [](std::uint8_t c) { return c > 0x20 && c < 0x7F; }))
        return false;
    return std::all_of(end, bytes.end(), [](std::uint8_t c) { return c == 0; });
}

std::string FormatText(std::span<const std::uint8_t> bytes)
{
    if (IsPlainText(bytes))
        return std::string(bytes.begin(), std::find(bytes.begin(), bytes.end(), 0));
    std::string hex = protocol::hexBytes(bytes);
    std::erase(hex, ' ');
    return "0x" + hex;
}

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

std::string FormatField(protocol::Field field, const std::uint8_t* at)
{
    switch (field) {
    case protocol::Field::U8:
        return std::to_string(at[0]);
    case protocol::Field::U16:
        return std::to_string(at[0] | at[1] << 8);
    case protocol::Field::Hex16: {
        char text[8];
        std::snprintf(text, sizeof text, "0x%04X", static_cast<unsigned>(at[0] | at[1] << 8));
        return text;
    }
    case protocol::Field::I32:
        return std::to_string(static_cast<std::int32_t>(GetU32(at)));
    case protocol::Field::Real:
        return FormatReal(GetReal(at));
    case protocol::Field::Text8:
        return FormatText(std::span(at, 8));
    }
    return {};
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
    std::string text;
    std::size_t offset = 0;
    for (protocol::Field field : info.fields) {
        if (offset + protocol::fieldSize(field) > bytes.size())
            break;
        if (!text.empty())
            text += ' ';
        text += FormatField(field, bytes.data() + offset);
        offset += protocol::fieldSize(field);
    }
    return text;
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
