#pragma once

#include "framework/BaseObject.h"

#include <functional>
#include <memory>

// A growable list that owns its entries. Capacity grows linearly by growBy
// entries when an insertion finds the array full; growBy 0 means the
// collection cannot grow. Using it beyond its bounds stops the program with
// run-time error 213 (index) or 214 (full).
//
// Entries are untyped here so that a derived collection decides how an entry
// is released (DestroyItem); the typed front is OwningCollection<T> and
// StringCollection.
class ObjectCollection : public BaseObject {
public:
    static constexpr int MaxItems = 16380;

    ObjectCollection(int capacity, int growBy);
    ~ObjectCollection() override;

    virtual int IndexOf(const void* item) const;
    // Returns whether the collection took the item; an item it refused
    // stays with the caller.
    virtual bool Add(void* item);
    virtual void DestroyItem(void* item);
    [[noreturn]] virtual void Fail(int code, int info) const;

    void* ItemAt(int index) const;
    void InsertAt(int index, void* item);
    void DestroyAll();
    void SetCapacity(int newCapacity);
    void ForEach(const std::function<void(void*)>& action) const;

    int Count() const { return count; }
    int Capacity() const { return capacity; }
    int GrowBy() const { return growBy; }

protected:
    // Releases the entries without destroying them: ownership moves elsewhere.
    void DetachAll() { count = 0; }

private:
    std::unique_ptr<void*[]> items;
    int count = 0;
    int capacity = 0;
    int growBy = 0;
};
