#include "framework/WindowBinding.h"

#include "framework/WindowObject.h"

#include <commctrl.h>

namespace {

constexpr const wchar_t* ObjectProperty = L"CfgObject";

} // namespace

void StartFramework()
{
    ObjectPointerMessage();
    InitCommonControls();
}

UINT ObjectPointerMessage()
{
    static const UINT number = RegisterWindowMessageW(L"CfgObjectPtr");
    return number;
}

HINSTANCE ModuleInstance()
{
    return GetModuleHandleW(nullptr);
}

WindowObject* ObjectOfWindow(HWND window)
{
    return WindowBinding::BoundObject(window);
}

WindowObject* WindowBinding::BoundObject(HWND window)
{
    // GetPropW fails for 0 and for a handle whose window no longer exists.
    if (window == nullptr)
        return nullptr;
    // Another process's window (say, a second copy of the program) may carry
    // the property too, but its value is no address of ours.
    DWORD process = 0;
    if (GetWindowThreadProcessId(window, &process) == 0 || process != GetCurrentProcessId())
        return nullptr;
    return static_cast<WindowObject*>(GetPropW(window, ObjectProperty));
}

void WindowBinding::Bind(HWND window, WindowObject* object)
{
    SetPropW(window, ObjectProperty, object);
    object->handle = window;
}

void WindowBinding::Unbind(HWND window, WindowObject* object)
{
    RemovePropW(window, ObjectProperty);
    if (object->handle == window)
        object->handle = nullptr;
}

WNDPROC WindowBinding::Subclass(HWND window, WindowObject* object)
{
    auto previous = reinterpret_cast<WNDPROC>(GetWindowLongPtrW(window, GWLP_WNDPROC));
    Bind(window, object);
    SetWindowLongPtrW(window, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&ObjectProcedure));
    return previous;
}

LRESULT CALLBACK WindowBinding::CreationProcedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    WindowObject* object = pendingWindow;
    if (object == nullptr)
        return DefWindowProcW(window, message, wParam, lParam);
    // Consumed before dispatch: windows created while handling this first
    // message must not take the same object.
    pendingWindow = nullptr;
    Bind(window, object);
    SetWindowLongPtrW(window, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&ObjectProcedure));
    return ObjectProcedure(window, message, wParam, lParam);
}

LRESULT CALLBACK WindowBinding::ObjectProcedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    WindowObject* object = BoundObject(window);
    if (object == nullptr)
        return DefWindowProcW(window, message, wParam, lParam);
    WindowMessage msg{window, message, wParam, lParam, 1};
    if (message == ObjectPointerMessage())
        msg.result = reinterpret_cast<LRESULT>(object);
    else
        object->Dispatch(msg);
    // The window's last message: from now on the object has no window.
    if (message == WM_NCDESTROY)
        Unbind(window, object);
    return msg.result;
}

INT_PTR CALLBACK WindowBinding::DialogProcedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    WindowObject* object = BoundObject(window);
    if (object == nullptr) {
        object = pendingDialog;
        if (object == nullptr)
            return FALSE;
        pendingDialog = nullptr;
        Bind(window, object);
    }
    if (message == ObjectPointerMessage()) {
        // A dialog's answer to a sent message travels in DWLP_MSGRESULT.
        SetWindowLongPtrW(window, DWLP_MSGRESULT, reinterpret_cast<LONG_PTR>(object));
        return TRUE;
    }
    WindowMessage msg{window, message, wParam, lParam, 1};
    object->Dispatch(msg);
    if (message == WM_NCDESTROY)
        Unbind(window, object);
    return msg.result;
}
