#include "device/PortNameList.h"

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
