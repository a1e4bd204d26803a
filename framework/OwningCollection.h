#pragma once

#include "framework/ObjectCollection.h"

#include <memory>
#include <type_traits>

// Typed front of ObjectCollection for entries of one object type T.
template <class T> class OwningCollection : public ObjectCollection {
    static_assert(std::is_base_of_v<BaseObject, T>);

public:
    using ObjectCollection::ObjectCollection;

    T* At(int index) const { return static_cast<T*>(static_cast<BaseObject*>(ItemAt(index))); }
    T* Append(std::unique_ptr<T> item)
    {
        T* raw = item.get();
        if (Add(static_cast<BaseObject*>(raw)))
            item.release();
        return raw;
    }
};
