#pragma once

#include "framework/ObjectCollection.h"

// A collection kept in key order, searched by bisection. Without
// allowDuplicates an entry whose key equals an existing one is refused.
class SortedCollection : public ObjectCollection {
public:
    using ObjectCollection::ObjectCollection;

    int IndexOf(const void* item) const override;
    bool Add(void* item) override;
    virtual const void* KeyFor(const void* item) const;
    virtual int Compare(const void* key1, const void* key2) const = 0;

    // Position of the equal entry when one exists (found), else the position
    // where key would be inserted.
    bool Search(const void* key, int& index) const;

protected:
    bool allowDuplicates = false;
};
