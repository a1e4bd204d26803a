#include "device/ParameterValueText.h"

#include "device/LittleEndian.h"
#include "device/TraceFormat.h"

#include <algorithm>
#include <charconv>
#include <cstdio>

namespace protocol {
namespace {

bool isPlainText(std::span<const std::uint8_t> bytes)
{
    auto end = std::find(bytes.begin(), bytes.end(), 0);
    if (end == bytes.begin())
        return false;
    if (!std::all_of(bytes.begin(), end, [](std::uint8_t c) { return c > 0x20 && c < 0x7F; }))
        return false;
    return std::all_of(end, bytes.end(), [](std::uint8_t c) { return c == 0; });
}

std::string identityText(std::span<const std::uint8_t> bytes)
{
    if (isPlainText(bytes))
        return std::string(bytes.begin(), std::find(bytes.begin(), bytes.end(), 0));
    std::string hex = hexBytes(bytes);
    std::erase(hex, ' ');
    return "0x" + hex;
}

std::string fieldText(Field field, const std::uint8_t* at)
{
    switch (field) {
    case Field::U8:
        return std::to_string(at[0]);
    case Field::U16:
        return std::to_string(little_endian::GetU16(at));
    case Field::Hex16: {
        char text[8];
        std::snprintf(text, sizeof text, "0x%04X", static_cast<unsigned>(little_endian::GetU16(at)));
        return text;
    }
    case Field::I32:
        return std::to_string(static_cast<std::int32_t>(little_endian::GetU32(at)));
    case Field::Real:
        return realText(little_endian::GetFloat(at));
    case Field::Text8:
        return identityText(std::span(at, 8));
    }
    return {};
}

} // namespace

std::string realText(float value)
{
    char text[32];
    auto result = std::to_chars(text, text + sizeof text, value);
    return std::string(text, result.ptr);
}

std::string valueText(const ParameterInfo& info, std::span<const std::uint8_t> bytes)
{
    std::string text;
    std::size_t offset = 0;
    for (Field field : info.fields) {
        if (offset + fieldSize(field) > bytes.size())
            break;
        if (!text.empty())
            text += ' ';
        text += fieldText(field, bytes.data() + offset);
        offset += fieldSize(field);
    }
    return text;
}

} // namespace protocol
