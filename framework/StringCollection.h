#pragma once

#include "framework/SortedCollection.h"

#include <string_view>

// A sorted collection of its own heap copies of zero-terminated strings,
// ordered byte-wise (unsigned); equal strings are kept once.
class StringCollection : public SortedCollection {
public:
    using SortedCollection::SortedCollection;
    ~StringCollection() override;

    void DestroyItem(void* item) override;
    int Compare(const void* key1, const void* key2) const override;

    // Stores a copy of text; false (nothing stored) when an equal string is
    // already there.
    bool AddString(std::string_view text);
    // Index of the entry equal to text, -1 if none.
    int IndexOfString(std::string_view text) const;
    const char* StringAt(int index) const { return static_cast<const char*>(ItemAt(index)); }
};
