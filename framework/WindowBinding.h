#pragma once

#include <windows.h>

class WindowObject;

// Framework start-up: registers the object message and initialises the
// common controls. Safe to call more than once; the Application does it.
void StartFramework();

// The number of the registered message "CfgObjectPtr": every bound window
// answers it with the address of its object.
UINT ObjectPointerMessage();

HINSTANCE ModuleInstance();

// How windows and their objects find each other: a window property holds
// the object, and one window procedure (or dialog procedure) serves all.
class WindowBinding {
public:
    // Procedure of the framework's window classes: binds the object being
    // created to the new window on its first message.
    static LRESULT CALLBACK CreationProcedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
    // Procedure of every bound window.
    static LRESULT CALLBACK ObjectProcedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
    // Dialog procedure of every dialog object; binds on the first message.
    static INT_PTR CALLBACK DialogProcedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

    static WindowObject* BoundObject(HWND window);
    // Replaces an existing window's procedure by ObjectProcedure; returns the
    // old one, which the object keeps for its default processing.
    static WNDPROC Subclass(HWND window, WindowObject* object);

    // The object whose window CreateWindowExW or the dialog functions are
    // making right now; consumed by that window's first message.
    static void SetPendingWindow(WindowObject* object) { pendingWindow = object; }
    static void SetPendingDialog(WindowObject* object) { pendingDialog = object; }

    // Drops the binding: the object no longer hears from the window.
    static void Unbind(HWND window, WindowObject* object);

private:
    static void Bind(HWND window, WindowObject* object);

    static inline WindowObject* pendingWindow = nullptr;
    static inline WindowObject* pendingDialog = nullptr;
};
