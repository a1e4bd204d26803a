#include "framework/ListBox.h"

#include "framework/StringCollection.h"
#include "framework/WideText.h"

#include <array>
#include <cstring>

namespace {

constexpr std::array<UINT, 12> ListBoxMessages = {
    LB_ADDSTRING,  LB_INSERTSTRING, LB_DELETESTRING, LB_RESETCONTENT, LB_GETCOUNT,    LB_GETTEXT,
    LB_GETTEXTLEN, LB_SELECTSTRING, LB_GETCURSEL,    LB_SETCURSEL,    LB_GETITEMDATA, LB_SETITEMDATA,
};

LPARAM TextParam(const std::wstring& text)
{
    return reinterpret_cast<LPARAM>(text.c_str());
}

} // namespace

ListBox::ListBox(WindowObject* parent, int x, int y, int width, int height, int id)
    : Control(parent, "", x, y, width, height, id)
{
    style = WS_CHILD | WS_VISIBLE | WS_VSCROLL | WS_GROUP | WS_TABSTOP | LBS_NOTIFY | LBS_SORT;
    exStyle = WS_EX_CLIENTEDGE;
}

ListBox::ListBox(WindowObject* parent, int id) : Control(parent, id) {}

UINT ListBox::MessageFor(ListOperation operation) const
{
    return ListBoxMessages[static_cast<std::size_t>(operation)];
}

LRESULT ListBox::SendList(ListOperation operation, WPARAM wParam, LPARAM lParam) const
{
    return Send(MessageFor(operation), wParam, lParam);
}

int ListBox::AddString(std::string_view text)
{
    const std::wstring wide = Widen(text);
    return static_cast<int>(SendList(ListOperation::AddString, 0, TextParam(wide)));
}

int ListBox::InsertString(std::string_view text, int index)
{
    const std::wstring wide = Widen(text);
    return static_cast<int>(
        SendList(ListOperation::InsertString, static_cast<WPARAM>(index), TextParam(wide)));
}

void ListBox::ResetContent()
{
    SendList(ListOperation::ResetContent, 0, 0);
}

int ListBox::GetItemCount() const
{
    return static_cast<int>(SendList(ListOperation::Count, 0, 0));
}

int ListBox::GetItemTextLength(int index) const
{
    if (handle == nullptr)
        return -1;
    return static_cast<int>(SendList(ListOperation::ItemTextLength, static_cast<WPARAM>(index), 0));
}

std::string ListBox::GetItemText(int index) const
{
    // The buffer is sized from the control's own length, never guessed.
    const int length = GetItemTextLength(index);
    if (length <= 0)
        return {};
    std::wstring text(static_cast<std::size_t>(length) + 1, L'\0');
    const auto copied = static_cast<int>(
        SendList(ListOperation::ItemText, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(text.data())));
    if (copied <= 0)
        return {};
    text.resize(static_cast<std::size_t>(copied < length ? copied : length));
    return Narrow(text);
}

int ListBox::SelectString(std::string_view text, int startIndex)
{
    const std::wstring wide = Widen(text);
    return static_cast<int>(
        SendList(ListOperation::SelectString, static_cast<WPARAM>(startIndex), TextParam(wide)));
}

int ListBox::GetCurSel() const
{
    if (handle == nullptr)
        return -1;
    return static_cast<int>(SendList(ListOperation::CurrentSelection, 0, 0));
}

void ListBox::SetCurSel(int index)
{
    SendList(ListOperation::SetSelection, static_cast<WPARAM>(index), 0);
}

int ListBox::SelectedText(std::string& text, int maxChars) const
{
    const int index = GetCurSel();
    if (index < 0)
        return -1;
    const std::wstring entry = Widen(GetItemText(index));
    std::size_t kept = entry.size();
    const auto limit = static_cast<std::size_t>(maxChars > 0 ? maxChars : 0);
    if (kept > limit) {
        kept = limit;
        // Keep a surrogate pair whole.
        if (kept > 0 && IS_HIGH_SURROGATE(entry[kept - 1]))
            --kept;
    }
    text = Narrow(std::wstring_view(entry).substr(0, kept));
    return static_cast<int>(kept);
}

void ListBox::AddAll(const StringCollection& strings)
{
    strings.ForEach([this](void* item) { AddString(static_cast<const char*>(item)); });
}

std::size_t ListBox::TransferValues(void* buffer, TransferDirection direction)
{
    if (direction == TransferDirection::SizeOnly)
        return sizeof(ListBoxTransfer);
    ListBoxTransfer entry;
    std::memcpy(&entry, buffer, sizeof entry);
    const bool multiple = (GetWindowLongPtrW(handle, GWL_STYLE) & LBS_MULTIPLESEL) != 0;
    if (direction == TransferDirection::GetValues) {
        if (multiple && entry.selections != nullptr) {
            const auto count = static_cast<int>(Send(LB_GETSELCOUNT));
            entry.selections->assign(static_cast<std::size_t>(count > 0 ? count : 0), 0);
            if (count > 0)
                Send(LB_GETSELITEMS, static_cast<WPARAM>(count),
                     reinterpret_cast<LPARAM>(entry.selections->data()));
        } else if (!multiple) {
            entry.selection = GetCurSel();
        }
        std::memcpy(buffer, &entry, sizeof entry);
    } else {
        if (entry.strings != nullptr) {
            ResetContent();
            AddAll(*entry.strings);
        }
        if (multiple && entry.selections != nullptr) {
            Send(LB_SETSEL, FALSE, -1);
            for (int index : *entry.selections)
                Send(LB_SETSEL, TRUE, index);
        } else if (!multiple) {
            SetCurSel(entry.selection);
        }
    }
    return sizeof(ListBoxTransfer);
}
