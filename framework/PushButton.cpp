#include "framework/PushButton.h"

PushButton::PushButton(WindowObject* parent, std::string_view title, int x, int y, int width, int height,
                       int id)
    : Control(parent, title, x, y, width, height, id)
{
    style = WS_CHILD | WS_VISIBLE | WS_GROUP | WS_TABSTOP | BS_PUSHBUTTON;
}
