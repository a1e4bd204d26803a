#include "framework/SortedCollection.h"

const void* SortedCollection::KeyFor(const void* item) const
{
    return item;
}

bool SortedCollection::Search(const void* key, int& index) const
{
    int lo = 0;
    int hi = Count() - 1;
    bool found = false;
    while (lo <= hi) {
        const int mid = (lo + hi) / 2;
        const int c = Compare(KeyFor(ItemAt(mid)), key);
        if (c < 0) {
            lo = mid + 1;
        } else {
            hi = mid - 1;
            if (c == 0) {
                found = true;
                if (!allowDuplicates)
                    lo = mid;
            }
        }
    }
    index = lo;
    return found;
}

int SortedCollection::IndexOf(const void* item) const
{
    int i = 0;
    if (!Search(KeyFor(item), i))
        return -1;
    if (allowDuplicates) {
        while (i < Count() && ItemAt(i) != item)
            ++i;
        return i < Count() ? i : -1;
    }
    return i;
}

bool SortedCollection::Add(void* item)
{
    int i = 0;
    if (Search(KeyFor(item), i) && !allowDuplicates)
        return false;
    InsertAt(i, item);
    return true;
}
