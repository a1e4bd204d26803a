#include "framework/StaticText.h"

#include "framework/TextEntry.h"

StaticText::StaticText(WindowObject* parent, std::string_view title, int x, int y, int width, int height,
                       int id, int limit)
    : Control(parent, title, x, y, width, height, id), textLimit(limit)
{
    style = WS_CHILD | WS_VISIBLE | WS_GROUP | SS_LEFT;
}

StaticText::StaticText(WindowObject* parent, int id, int limit) : Control(parent, id), textLimit(limit) {}

std::size_t StaticText::TransferValues(void* buffer, TransferDirection direction)
{
    const auto size = static_cast<std::size_t>(textLimit > 0 ? textLimit : 0);
    if (direction == TransferDirection::GetValues)
        StoreTextEntry(buffer, size, GetText());
    else if (direction == TransferDirection::SetValues && size > 0)
        SetText(LoadTextEntry(buffer, size));
    return size;
}

std::string StaticText::GetText() const
{
    return ReadWindowText(handle);
}

void StaticText::SetText(std::string_view text)
{
    WriteWindowText(handle, text);
}
