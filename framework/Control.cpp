#include "framework/Control.h"

Control::Control(WindowObject* parent, std::string_view title, int left, int top, int newWidth, int newHeight,
                 int id)
    : Window(parent, title)
{
    SetPlacement(left, top, newWidth, newHeight);
    menuOrId = static_cast<UINT_PTR>(id);
}

Control::Control(WindowObject* parent, int id) : Window(parent, id)
{
    SetFlag(TransferEnabled);
}

LRESULT Control::Send(UINT message, WPARAM wParam, LPARAM lParam) const
{
    if (handle == nullptr)
        return 0;
    return SendMessageW(handle, message, wParam, lParam);
}
