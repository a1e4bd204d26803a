#include "framework/ComboBox.h"

#include "framework/StringCollection.h"
#include "framework/TextEntry.h"

#include <array>
#include <cstring>

namespace {

constexpr std::array<UINT, 12> ComboBoxMessages = {
    CB_ADDSTRING,    CB_INSERTSTRING, CB_DELETESTRING, CB_RESETCONTENT, CB_GETCOUNT,    CB_GETLBTEXT,
    CB_GETLBTEXTLEN, CB_SELECTSTRING, CB_GETCURSEL,    CB_SETCURSEL,    CB_GETITEMDATA, CB_SETITEMDATA,
};

} // namespace

ComboBox::ComboBox(WindowObject* parent, int x, int y, int width, int height, int id, int limit,
                   bool editable)
    : ListBox(parent, x, y, width, height, id), textLimit(limit)
{
    style = WS_CHILD | WS_VISIBLE | WS_VSCROLL | WS_GROUP | WS_TABSTOP | CBS_SORT |
            (editable ? CBS_AUTOHSCROLL | CBS_DROPDOWN : CBS_DROPDOWNLIST);
}

ComboBox::ComboBox(WindowObject* parent, int id, int limit) : ListBox(parent, id), textLimit(limit) {}

UINT ComboBox::MessageFor(ListOperation operation) const
{
    return ComboBoxMessages[static_cast<std::size_t>(operation)];
}

void ComboBox::SetUp()
{
    ListBox::SetUp();
    if (textLimit > 0)
        Send(CB_LIMITTEXT, static_cast<WPARAM>(textLimit - 1));
}

void ComboBox::SetComboText(std::string_view text)
{
    if (SelectString(text, -1) < 0)
        WriteWindowText(handle, text);
}

std::string ComboBox::GetText() const
{
    return ReadWindowText(handle);
}

std::size_t ComboBox::TransferValues(void* buffer, TransferDirection direction)
{
    const auto textSize = static_cast<std::size_t>(textLimit > 0 ? textLimit : 0);
    const std::size_t size = sizeof(StringCollection*) + textSize;
    if (direction == TransferDirection::SizeOnly)
        return size;
    auto* bytes = static_cast<std::byte*>(buffer);
    std::byte* text = bytes + sizeof(StringCollection*);
    if (direction == TransferDirection::GetValues) {
        StoreTextEntry(text, textSize, GetText());
    } else {
        StringCollection* strings = nullptr;
        std::memcpy(&strings, bytes, sizeof strings);
        if (strings != nullptr) {
            ResetContent();
            AddAll(*strings);
        }
        if (textSize > 0)
            SetComboText(LoadTextEntry(text, textSize));
    }
    return size;
}
