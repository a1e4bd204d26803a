#include "framework/CheckBox.h"

#include <cstring>

CheckBox::CheckBox(WindowObject* parent, std::string_view title, int x, int y, int width, int height, int id)
    : PushButton(parent, title, x, y, width, height, id)
{
    style = WS_CHILD | WS_VISIBLE | WS_GROUP | WS_TABSTOP | BS_AUTOCHECKBOX;
}

CheckBox::CheckBox(WindowObject* parent, int id) : PushButton(parent, id) {}

std::size_t CheckBox::TransferValues(void* buffer, TransferDirection direction)
{
    std::int32_t state = 0;
    if (direction == TransferDirection::GetValues) {
        state = GetCheck();
        std::memcpy(buffer, &state, sizeof state);
    } else if (direction == TransferDirection::SetValues) {
        std::memcpy(&state, buffer, sizeof state);
        SetCheck(state);
    }
    return sizeof state;
}

int CheckBox::GetCheck() const
{
    return static_cast<int>(Send(BM_GETCHECK));
}

void CheckBox::SetCheck(int state)
{
    Send(BM_SETCHECK, static_cast<WPARAM>(state));
}
