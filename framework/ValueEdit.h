#pragma once

#include "framework/EditBox.h"

#include <cstdint>

// A right-aligned edit field for numbers. A text that cannot be read as a
// number reads as 0.
class ValueEdit : public EditBox {
public:
    ValueEdit(WindowObject* parent, std::string_view title, int x, int y, int width, int height, int id);
    ValueEdit(WindowObject* parent, int id);

    void SetInteger(std::int32_t value);
    void SetReal(float value, int decimals);
    std::int32_t GetInteger() const;
    float GetReal() const;
};
