#pragma once

#include <windows.h>

#include <functional>
#include <string>
#include <vector>

// The program's main window or one of its dialogs as another process sees
// it: its controls, their texts and the message boxes it owns.
class TargetWindow {
public:
    // The visible top-level window with this caption (and class, when
    // given) that no other such window owns: a dialog rather than a message
    // box that it shows under its own caption.
    bool find(const std::wstring& title, const wchar_t* className, DWORD timeoutMs);
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
    // As sync, and also true when the window is gone: a step that closes
    // its own window has then done its work.
    bool settle() const;
    // Delivers a message without waiting for its handler, then settles.
    bool notify(HWND target, UINT message, WPARAM wParam, LPARAM lParam) const;
    bool waitGone(DWORD timeoutMs) const;
    // Waits until no dialog (message box) of the window is left, not even
    // one that has ended and is not destroyed yet.
    bool waitNoDialog(DWORD timeoutMs) const;
    // Makes the window the foreground window and waits until its thread
    // has taken the activation, so that typed keys reach it.
    bool activate(DWORD timeoutMs) const;

    // A visible dialog (message box) owned by the window, or nullptr.
    HWND ownedDialog() const;

private:
    HWND window = nullptr;
};

// Polls check every 50 ms until it holds or the time is up.
bool WaitFor(DWORD timeoutMs, const std::function<bool()>& check);

std::string WindowText(HWND window);
std::string ClassName(HWND window);
// Rectangle of a child in its parent's client coordinates.
RECT ClientRectOf(HWND child);
