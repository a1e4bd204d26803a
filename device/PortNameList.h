#pragma once

#include "framework/StringCollection.h"

// Serial port names in the order the user sees them: shorter names first,
// names of equal length byte by byte, so COM2 comes before COM10.
class PortNameList : public StringCollection {
public:
    explicit PortNameList(int capacity = 10, int growBy = 5) : StringCollection(capacity, growBy) {}

    int Compare(const void* key1, const void* key2) const override;
};
