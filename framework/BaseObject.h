#pragma once

// Root of the program's object types: a virtual destructor, so that owners
// (collections, windows) can destroy any object through a base reference.
// Fields start zeroed through default member initialisers in each type.
class BaseObject {
public:
    BaseObject() = default;
    BaseObject(const BaseObject&) = delete;
    BaseObject& operator=(const BaseObject&) = delete;
    virtual ~BaseObject() = default;
};
