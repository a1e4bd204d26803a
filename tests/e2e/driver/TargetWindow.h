#pragma once

#include <windows.h>

#include <string>
#include <vector>

// The program's main window as another process sees it: its controls, their
// texts and the message boxes it owns.
class TargetWindow {
public:
    bool find(const std::wstring& title, DWORD timeoutMs);
    HWND handle() const { return window; }
    bool alive() const { return window != nullptr && IsWindow(window); }

    // "101" names a control by id, "@120,35" by the client position of its
    // top-left corner (the value fields have no id). nullptr when absent.
    HWND control(const std::string& reference) const;
    // Children in creation order, which is also the tab order.
    std::vector<HWND> children() const;

    // Returns once the program has handled everything sent before, or has
    // entered a modal loop (a message box) while handling it.
    bool sync(DWORD timeoutMs = 30000) const;
    // Delivers a message without waiting for its handler, then syncs.
    bool notify(HWND target, UINT message, WPARAM wParam, LPARAM lParam) const;

    // A visible dialog (message box) owned by the window, or nullptr.
    HWND ownedDialog() const;

private:
    HWND window = nullptr;
};

std::string WindowText(HWND window);
std::string ClassName(HWND window);
// Rectangle of a child in its parent's client coordinates.
RECT ClientRectOf(HWND child);
