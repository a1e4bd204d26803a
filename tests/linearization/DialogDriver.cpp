#include "DialogDriver.h"

#include "framework/TextEntry.h"

#include <algorithm>

namespace {

constexpr UINT TickMilliseconds = 20;
// Ticks with nothing to do before open windows are cancelled.
constexpr int GiveUpTicks = 500;

DialogDriver* running = nullptr;

std::wstring ClassOf(HWND window)
{
    wchar_t name[64] = {};
    GetClassNameW(window, name, 64);
    return name;
}

// The enabled dialog-class window of this thread: the one on top of any
// modal stack (its owners are disabled while it runs).
HWND ActiveModal()
{
    HWND found = nullptr;
    EnumThreadWindows(
        GetCurrentThreadId(),
        [](HWND window, LPARAM result) -> BOOL {
            if (ClassOf(window) == L"#32770" && IsWindowVisible(window) && IsWindowEnabled(window)) {
                *reinterpret_cast<HWND*>(result) = window;
                return FALSE;
            }
            return TRUE;
        },
        reinterpret_cast<LPARAM>(&found));
    return found;
}

} // namespace

DialogDriver::DialogDriver(std::vector<Step> script) : steps(std::move(script))
{
    running = this;
    timer = SetTimer(nullptr, 0, TickMilliseconds, &DialogDriver::tick);
}

DialogDriver::~DialogDriver()
{
    KillTimer(nullptr, timer);
    running = nullptr;
}

void CALLBACK DialogDriver::tick(HWND, UINT, UINT_PTR, DWORD)
{
    if (running != nullptr)
        running->act();
}

void DialogDriver::act()
{
    HWND window = ActiveModal();
    // A window a step has acted on may take a moment to go.
    if (window == nullptr || std::find(handled.begin(), handled.end(), window) != handled.end()) {
        if (++idleTicks > GiveUpTicks && window != nullptr)
            PostMessageW(window, WM_COMMAND, IDCANCEL, 0);
        return;
    }
    idleTicks = 0;
    handled.push_back(window);
    if (taken < static_cast<int>(steps.size())) {
        // Counted first: a step may run a nested modal loop of its own.
        const Step& step = steps[taken++];
        step(window);
    } else {
        unexpectedWindows.push_back(ReadWindowText(window));
        PressEscape(window);
    }
}

MessageBoxView ReadMessageBox(HWND box)
{
    MessageBoxView view;
    view.caption = ReadWindowText(box);
    for (HWND child = GetWindow(box, GW_CHILD); child != nullptr; child = GetWindow(child, GW_HWNDNEXT)) {
        const std::wstring kind = ClassOf(child);
        if (lstrcmpiW(kind.c_str(), L"Button") == 0) {
            view.buttons.push_back(GetDlgCtrlID(child));
        } else if (lstrcmpiW(kind.c_str(), L"Static") == 0) {
            if ((GetWindowLongW(child, GWL_STYLE) & SS_TYPEMASK) == SS_ICON)
                view.hasIcon = SendMessageW(child, STM_GETICON, 0, 0) != 0;
            else if (const std::string text = ReadWindowText(child); !text.empty())
                view.text = text;
        }
    }
    return view;
}

void PressButton(HWND dialog, int id)
{
    PostMessageW(GetDlgItem(dialog, id), BM_CLICK, 0, 0);
}

void PressEscape(HWND dialog)
{
    PostMessageW(dialog, WM_KEYDOWN, VK_ESCAPE, 0);
}
