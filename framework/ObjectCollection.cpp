#include "framework/ObjectCollection.h"

#include "framework/RuntimeError.h"

#include <algorithm>

ObjectCollection::ObjectCollection(int initialCapacity, int growth) : growBy(growth)
{
    SetCapacity(initialCapacity);
}

ObjectCollection::~ObjectCollection()
{
    // Virtual calls in a destructor reach this type's DestroyItem only, so
    // derived collections release their entries in their own destructors.
    DestroyAll();
}

int ObjectCollection::IndexOf(const void* item) const
{
    for (int i = 0; i < count; ++i)
        if (items[i] == item)
            return i;
    return -1;
}

bool ObjectCollection::Add(void* item)
{
    InsertAt(count, item);
    return true;
}

void ObjectCollection::DestroyItem(void* item)
{
    delete static_cast<BaseObject*>(item);
}

void ObjectCollection::Fail(int code, int /*info*/) const
{
    RunError(212 - code);
}

void* ObjectCollection::ItemAt(int index) const
{
    if (index < 0 || index >= count)
        Fail(-1, 0);
    return items[index];
}

void ObjectCollection::InsertAt(int index, void* item)
{
    if (index < 0 || index > count)
        Fail(-1, 0);
    if (count == capacity)
        SetCapacity(capacity + growBy);
    if (count == capacity)
        Fail(-2, 0);
    void** entries = items.get();
    std::move_backward(entries + index, entries + count, entries + count + 1);
    items[index] = item;
    ++count;
}

void ObjectCollection::DestroyAll()
{
    for (int i = 0; i < count; ++i)
        DestroyItem(items[i]);
    count = 0;
}

void ObjectCollection::SetCapacity(int newCapacity)
{
    newCapacity = std::min(std::max(newCapacity, count), MaxItems);
    if (newCapacity == capacity)
        return;
    std::unique_ptr<void*[]> fresh;
    if (newCapacity > 0) {
        fresh = std::make_unique<void*[]>(static_cast<size_t>(newCapacity));
        std::copy(items.get(), items.get() + count, fresh.get());
    }
    items = std::move(fresh);
    capacity = newCapacity;
}

void ObjectCollection::ForEach(const std::function<void(void*)>& action) const
{
    const int n = count;
    void* const* entries = items.get();
    for (int i = 0; i < n; ++i)
        action(entries[i]);
}
