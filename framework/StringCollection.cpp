#include "framework/StringCollection.h"

#include <cstring>
#include <memory>
#include <string>

StringCollection::~StringCollection()
{
    DestroyAll();
}

void StringCollection::DestroyItem(void* item)
{
    delete[] static_cast<char*>(item);
}

int StringCollection::Compare(const void* key1, const void* key2) const
{
    const auto* a = static_cast<const unsigned char*>(key1);
    const auto* b = static_cast<const unsigned char*>(key2);
    while (*a != 0 && *a == *b) {
        ++a;
        ++b;
    }
    return int(*a) - int(*b);
}

bool StringCollection::AddString(std::string_view text)
{
    auto copy = std::make_unique<char[]>(text.size() + 1);
    std::memcpy(copy.get(), text.data(), text.size());
    copy[text.size()] = '\0';
    if (!Add(copy.get()))
        return false;
    copy.release();
    return true;
}

int StringCollection::IndexOfString(std::string_view text) const
{
    const std::string key(text);
    return IndexOf(key.c_str());
}
