#include "framework/RadioButton.h"

RadioButton::RadioButton(WindowObject* parent, std::string_view title, int x, int y, int width, int height,
                         int id)
    : CheckBox(parent, title, x, y, width, height, id)
{
    style = WS_CHILD | WS_VISIBLE | WS_TABSTOP | BS_AUTORADIOBUTTON;
}

RadioButton::RadioButton(WindowObject* parent, int id) : CheckBox(parent, id) {}
