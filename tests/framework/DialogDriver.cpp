#include "tests/framework/DialogDriver.h"

#include <gtest/gtest.h>

#include <algorithm>

namespace {

constexpr UINT TickMilliseconds = 20;
// Far beyond what closing takes on a busy machine: only a fault gets here.
constexpr ULONGLONG StuckMilliseconds = 20000;

DialogDriver* running = nullptr;

// The shown and enabled dialog-class window of this thread: the one on top
// of any modal stack (its owners are disabled while it runs).
HWND ActiveModal()
{
    HWND found = nullptr;
    EnumThreadWindows(
        GetCurrentThreadId(),
        [](HWND window, LPARAM result) -> BOOL {
            wchar_t name[16] = {};
            GetClassNameW(window, name, 16);
            if (lstrcmpW(name, L"#32770") != 0 || !IsWindowVisible(window) || !IsWindowEnabled(window))
                return TRUE;
            *reinterpret_cast<HWND*>(result) = window;
            return FALSE;
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
    std::erase_if(handled, [](const auto& entry) { return !IsWindow(entry.first); });
    HWND window = ActiveModal();
    if (window == nullptr)
        return;
    DialogView view(window);
    const ULONGLONG now = GetTickCount64();
    const auto seen =
        std::find_if(handled.begin(), handled.end(), [&](const auto& e) { return e.first == window; });
    if (seen != handled.end()) {
        // A window acted on may take a moment to go, but not this long.
        if (now - seen->second > StuckMilliseconds) {
            ADD_FAILURE() << "\"" << view.caption() << "\" did not close";
            EndDialog(window, IDCANCEL);
            seen->second = now;
        }
        return;
    }
    handled.emplace_back(window, now);
    if (taken < static_cast<int>(steps.size())) {
        // Counted first: a step may run a nested modal loop of its own.
        const Step& step = steps[taken++];
        step(view);
    } else {
        unexpectedWindows.push_back(view.caption());
        view.escape();
    }
}
