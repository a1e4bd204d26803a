#pragma once

#include "framework/CheckBox.h"

// An automatic radio button; works like a check box.
class RadioButton : public CheckBox {
public:
    RadioButton(WindowObject* parent, std::string_view title, int x, int y, int width, int height, int id);
    RadioButton(WindowObject* parent, int id);
};
