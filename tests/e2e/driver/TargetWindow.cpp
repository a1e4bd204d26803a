#include "tests/e2e/driver/TargetWindow.h"

#include "tests/e2e/driver/Text.h"

#include <algorithm>
#include <charconv>
#include <cwchar>

namespace {

struct TitleSearch {
    const std::wstring& title;
    const wchar_t* className;
    std::vector<HWND> found;
};

BOOL CALLBACK CollectTitled(HWND candidate, LPARAM context)
{
    auto* search = reinterpret_cast<TitleSearch*>(context);
    if (!IsWindowVisible(candidate))
        return TRUE;
    // The caption as stored: asks nothing of a window that may be busy.
    wchar_t caption[256] = {};
    GetWindowTextW(candidate, caption, 256);
    if (search->title != caption)
        return TRUE;
    wchar_t className[64] = {};
    if (search->className != nullptr &&
        (GetClassNameW(candidate, className, 64) == 0 || wcscmp(className, search->className) != 0))
        return TRUE;
    search->found.push_back(candidate);
    return TRUE;
}

} // namespace

bool WaitFor(DWORD timeoutMs, const std::function<bool()>& check)
{
    DWORD start = GetTickCount();
    for (;;) {
        if (check())
            return true;
        if (GetTickCount() - start >= timeoutMs)
            return false;
        Sleep(50);
    }
}

bool TargetWindow::find(const std::wstring& title, const wchar_t* className, DWORD timeoutMs)
{
    window = nullptr;
    return WaitFor(timeoutMs, [&] {
        TitleSearch search{title, className, {}};
        EnumWindows(CollectTitled, reinterpret_cast<LPARAM>(&search));
        for (HWND candidate : search.found) {
            HWND owner = GetWindow(candidate, GW_OWNER);
            if (std::find(search.found.begin(), search.found.end(), owner) == search.found.end()) {
                window = candidate;
                return true;
            }
        }
        return false;
    });
}

std::vector<HWND> TargetWindow::children() const
{
    std::vector<HWND> list;
    for (HWND c = GetWindow(window, GW_CHILD); c != nullptr; c = GetWindow(c, GW_HWNDNEXT))
        list.push_back(c);
    return list;
}

namespace {

bool ParseInt(std::string_view text, int& value)
{
    auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), value);
    return ec == std::errc() && end == text.data() + text.size();
}

} // namespace

HWND TargetWindow::control(const std::string& reference) const
{
    if (!alive())
        return nullptr;
    if (!reference.empty() && reference[0] == '@') {
        std::string_view rest(reference);
        rest.remove_prefix(1);
        size_t comma = rest.find(',');
        int x = 0, y = 0;
        if (comma == std::string_view::npos || !ParseInt(rest.substr(0, comma), x) ||
            !ParseInt(rest.substr(comma + 1), y))
            return nullptr;
        for (HWND c : children()) {
            RECT r = ClientRectOf(c);
            if (r.left == x && r.top == y)
                return c;
        }
        return nullptr;
    }
    int id = 0;
    if (!ParseInt(reference, id) || id == 0)
        return nullptr;
    return GetDlgItem(window, id);
}

bool TargetWindow::sync(DWORD timeoutMs) const
{
    DWORD_PTR result = 0;
    return SendMessageTimeoutW(window, WM_NULL, 0, 0, SMTO_NORMAL, timeoutMs, &result) != 0;
}

bool TargetWindow::settle() const
{
    return sync() || !IsWindow(window);
}

bool TargetWindow::notify(HWND target, UINT message, WPARAM wParam, LPARAM lParam) const
{
    // Sent messages are handled in the order they arrive, so the WM_NULL of
    // sync comes back after this handler, or from inside its modal loop;
    // when the handler closes the window, it never comes back.
    if (!SendNotifyMessageW(target, message, wParam, lParam))
        return false;
    return settle();
}

bool TargetWindow::waitGone(DWORD timeoutMs) const
{
    return WaitFor(timeoutMs, [&] { return !IsWindow(window); });
}

bool TargetWindow::activate(DWORD timeoutMs) const
{
    DWORD thread = GetWindowThreadProcessId(window, nullptr);
    return WaitFor(timeoutMs, [&] {
        if (GetForegroundWindow() != window)
            SetForegroundWindow(window);
        GUITHREADINFO info{};
        info.cbSize = sizeof info;
        return GetForegroundWindow() == window && GetGUIThreadInfo(thread, &info) &&
               info.hwndActive == window;
    });
}

namespace {

struct OwnedSearch {
    HWND owner;
    bool visibleOnly;
    HWND found;
};

BOOL CALLBACK FindOwned(HWND candidate, LPARAM context)
{
    auto* search = reinterpret_cast<OwnedSearch*>(context);
    if (GetWindow(candidate, GW_OWNER) == search->owner &&
        (!search->visibleOnly || IsWindowVisible(candidate)) && ClassName(candidate) == "#32770") {
        search->found = candidate;
        return FALSE;
    }
    return TRUE;
}

HWND OwnedDialog(HWND owner, bool visibleOnly)
{
    OwnedSearch search{owner, visibleOnly, nullptr};
    EnumWindows(FindOwned, reinterpret_cast<LPARAM>(&search));
    return search.found;
}

} // namespace

HWND TargetWindow::ownedDialog() const
{
    return OwnedDialog(window, true);
}

bool TargetWindow::waitNoDialog(DWORD timeoutMs) const
{
    // An ended dialog is hidden at once but destroyed only when its modal
    // loop returns, and its caller goes on after that.
    return WaitFor(timeoutMs, [&] { return OwnedDialog(window, false) == nullptr; });
}

std::string WindowText(HWND window)
{
    // WM_GETTEXT rather than GetWindowTextW: across processes the latter
    // returns the stored caption, which an edit control does not keep.
    DWORD_PTR length = 0;
    if (!SendMessageTimeoutW(window, WM_GETTEXTLENGTH, 0, 0, SMTO_NORMAL, 5000, &length))
        return "<no answer>";
    std::wstring text(length + 1, L'\0');
    DWORD_PTR copied = 0;
    SendMessageTimeoutW(window, WM_GETTEXT, length + 1, reinterpret_cast<LPARAM>(text.data()), SMTO_NORMAL,
                        5000, &copied);
    text.resize(copied);
    return ToUtf8(text);
}

std::string ClassName(HWND window)
{
    wchar_t name[64] = {};
    GetClassNameW(window, name, 64);
    return ToUtf8(name);
}

RECT ClientRectOf(HWND child)
{
    RECT r{};
    GetWindowRect(child, &r);
    MapWindowPoints(HWND_DESKTOP, GetParent(child), reinterpret_cast<POINT*>(&r), 2);
    return r;
}
