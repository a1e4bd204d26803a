#include "device/PortNameList.h"
#include "device/PortList.h"

#include <algorithm>
#include <cstring>

int PortNameList::Compare(const void* key1, const void* key2) const
{
    const auto* a = static_cast<const char*>(key1);
    const auto* b = static_cast<const char*>(key2);
    const std::size_t lengthA = std::strlen(a);
    const std::size_t lengthB = std::strlen(b);
    if (lengthA != lengthB)
        return lengthA < lengthB ? -1 : 1;
    // memcmp compares as unsigned bytes.
    return std::memcmp(a, b, lengthA);
}

std::optional<std::string> RegistryPortName(const char* data, std::size_t length)
{
    constexpr std::size_t DataSize = 8;
    const std::size_t size = strnlen(data, std::min(length, DataSize));
    if (size == 0 || size == DataSize)
        return std::nullopt;
    return std::string(data, size);
}
