#include "tests/framework/DialogView.h"

#include "framework/TextEntry.h"
#include "framework/WideText.h"

std::string DialogView::caption() const
{
    return ReadWindowText(window);
}

std::string DialogView::text(int id) const
{
    return ReadWindowText(GetDlgItem(window, id));
}

bool DialogView::enabled(int id) const
{
    return IsWindowEnabled(GetDlgItem(window, id)) != FALSE;
}

bool DialogView::checked(int id) const
{
    return IsDlgButtonChecked(window, id) == BST_CHECKED;
}

std::vector<std::string> DialogView::entries(int id) const
{
    std::vector<std::string> result;
    HWND list = GetDlgItem(window, id);
    const auto count = SendMessageW(list, CB_GETCOUNT, 0, 0);
    for (LRESULT i = 0; i < count; ++i) {
        const auto length = SendMessageW(list, CB_GETLBTEXTLEN, static_cast<WPARAM>(i), 0);
        std::wstring entry(static_cast<std::size_t>(length < 0 ? 0 : length) + 1, L'\0');
        SendMessageW(list, CB_GETLBTEXT, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(entry.data()));
        entry.resize(entry.size() - 1);
        result.push_back(Narrow(entry));
    }
    return result;
}

int DialogView::selection(int id) const
{
    return static_cast<int>(SendDlgItemMessageW(window, id, CB_GETCURSEL, 0, 0));
}

std::string DialogView::selected(int id) const
{
    const int index = selection(id);
    return index < 0 ? std::string() : entries(id).at(static_cast<std::size_t>(index));
}

std::vector<HWND> DialogView::children(const wchar_t* windowClass) const
{
    std::vector<HWND> found;
    for (HWND child = GetWindow(window, GW_CHILD); child != nullptr; child = GetWindow(child, GW_HWNDNEXT)) {
        wchar_t name[16] = {};
        GetClassNameW(child, name, 16);
        if (lstrcmpiW(name, windowClass) == 0)
            found.push_back(child);
    }
    return found;
}

std::string DialogView::message() const
{
    for (HWND text : children(L"Static"))
        if ((GetWindowLongW(text, GWL_STYLE) & SS_TYPEMASK) != SS_ICON && !ReadWindowText(text).empty())
            return ReadWindowText(text);
    return {};
}

bool DialogView::showsIcon() const
{
    for (HWND picture : children(L"Static"))
        if ((GetWindowLongW(picture, GWL_STYLE) & SS_TYPEMASK) == SS_ICON &&
            SendMessageW(picture, STM_GETICON, 0, 0) != 0)
            return true;
    return false;
}

std::vector<int> DialogView::buttons() const
{
    std::vector<int> ids;
    for (HWND button : children(L"Button"))
        ids.push_back(GetDlgCtrlID(button));
    return ids;
}

void DialogView::choose(int id, int index) const
{
    HWND list = GetDlgItem(window, id);
    SendMessageW(list, CB_SETCURSEL, static_cast<WPARAM>(index), 0);
    SendMessageW(window, WM_COMMAND, MAKEWPARAM(id, CBN_SELCHANGE), reinterpret_cast<LPARAM>(list));
}

void DialogView::click(int id) const
{
    SendMessageW(GetDlgItem(window, id), BM_CLICK, 0, 0);
}

void DialogView::type(int id, const std::string& text) const
{
    WriteWindowText(GetDlgItem(window, id), text);
}

void DialogView::cancel() const
{
    PostMessageW(window, WM_SYSCOMMAND, SC_CLOSE, 0);
}

void DialogView::escape() const
{
    PostMessageW(window, WM_KEYDOWN, VK_ESCAPE, 0);
}
